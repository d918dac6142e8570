#include "platform/folders.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <string>

#include "platform/paths.h"

namespace platform {
namespace {

// mkdir -p of a local POSIX path; failures are left for the caller to meet.
void MakeLocalFolders(const std::string& local) {
    for (std::size_t i = 1; i <= local.size(); ++i) {
        if (i == local.size() || local[i] == '/') {
            mkdir(local.substr(0, i).c_str(), 0777);
        }
    }
}

}  // namespace

bool CreateFolderPath(std::string_view path) {
    const auto separators = SeparatorPositions(path);
    std::size_t first = 0;  // index into separators of the first folder this call may create
    if (IsDrivePath(path)) {
        MakeLocalFolders(MapToLocalPath(path.substr(0, 2)));
    } else if (IsUncPath(path)) {
        first = 4;  // "\", "\", "\\server\", "\\server\share\" are not ours to create
    }
    bool created = false;
    for (std::size_t k = first; k < separators.size(); ++k) {
        const std::string local = MapToLocalPath(path.substr(0, separators[k] + 1));
        if (mkdir(local.c_str(), 0777) == 0) created = true;
    }
    return created;
}

}  // namespace platform
