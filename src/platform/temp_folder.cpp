#include "platform/temp_folder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform {

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = name.data();
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;  // a folder that cannot go stays; nothing else is harmed
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace platform
