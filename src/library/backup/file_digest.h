// One streamed pass over a backup file, never the whole file in memory: a
// backup of a large school is hundreds of megabytes, and a school computer
// should not need three times that to make or check it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace kashidashi::library {

inline constexpr size_t kFilePassChunk = 1 << 20;

// Where `text` starts in the file, the first and the last time (equal when
// it is there once); nullopt when it is not there. Throws runtime_error when
// the file cannot be read.
struct TextPlaces {
    size_t first = 0;
    size_t last = 0;
};
std::optional<TextPlaces> FindInFile(const std::string& file, const std::string& text,
                                     size_t chunk = kFilePassChunk);

// The SHA-256 of the file's bytes in lower-case hex, the `zeroCount` bytes
// from `zeroAt` read as ASCII zeros. Throws runtime_error when the file
// cannot be read.
std::string Sha256OfFile(const std::string& file, size_t zeroAt = 0, size_t zeroCount = 0,
                         size_t chunk = kFilePassChunk);

}  // namespace kashidashi::library
