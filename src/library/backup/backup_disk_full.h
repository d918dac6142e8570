// A disk that takes no more, at any step of writing a backup (the copy, its
// manifest, the sync, the rename, a second place): the system names it in
// several ways, the operator reads one, the engine's disk-full failure
// ("ディスクの空きが足りません。" through data/failure_text.h).
#pragma once

#include <string>

namespace kashidashi::library {

// No space left (ENOSPC), the user's quota spent (EDQUOT), or a file larger
// than the medium or the process may write (EFBIG: a FAT stick's 4 GiB).
bool MeansDiskFull(int systemError);

// Throws the engine's disk-full error naming `path`'s folder when
// `systemError` means a full disk; otherwise std::runtime_error(`text`).
[[noreturn]] void ThrowWriteFailure(int systemError, const std::string& path,
                                    const std::string& text);

// The disk-full error of the engine, naming `folder`, with `why` as the
// system's or SQLite's words.
[[noreturn]] void ThrowDiskFull(const std::string& folder, const std::string& why);

}  // namespace kashidashi::library
