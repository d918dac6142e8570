// A backup file copied byte for byte to another place (the second place),
// written through to the disk before it is used: a copy that fails leaves a
// partial `to`, removed by the caller.
#pragma once

#include <string>

namespace kashidashi::library {

// Copies `from` to the new file `to` and syncs it. Throws the engine's
// disk-full error when the disk takes no more (library/backup/backup_disk_full.h),
// std::runtime_error naming the file otherwise.
void CopyFileSynced(const std::string& from, const std::string& to);

}  // namespace kashidashi::library
