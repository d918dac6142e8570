// The bytes of a file a school hands over (a CSV list, a portable reader's
// file), read whole; its decoding is the format's own (csv_file.h,
// scan_file.h).
#pragma once

#include <stdexcept>
#include <string>

namespace kashidashi::exchange {

// A file that cannot be opened or read; the text, in Japanese, names it.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The bytes of the file at `path`. Throws FileError.
std::string ReadFileBytes(const std::string& path);

}  // namespace kashidashi::exchange
