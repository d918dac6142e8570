#include "library/backup/backup_disk_full.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "engine/common/error.h"

namespace kashidashi::library {

bool MeansDiskFull(int systemError) {
    return systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
}

void ThrowDiskFull(const std::string& folder, const std::string& why) {
    throw engine::EngineError::Make(engine::err::kDiskFull, folder, why);
}

void ThrowWriteFailure(int systemError, const std::string& path, const std::string& text) {
    if (MeansDiskFull(systemError)) {
        std::filesystem::path parent = std::filesystem::path(path).parent_path();
        ThrowDiskFull(parent.empty() ? "." : parent.string() + "/", std::strerror(systemError));
    }
    throw std::runtime_error(text);
}

}  // namespace kashidashi::library
