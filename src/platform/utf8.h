// Small UTF-8 helpers shared by the platform layer. Text inside the program is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::utf8 {

// Index of the first byte >= 0x80, or s.size() when the text is pure ASCII.
std::size_t FirstNonAscii(std::string_view s) noexcept;

inline bool IsAscii(std::string_view s) noexcept {
    return FirstNonAscii(s) == s.size();
}

// Length (1 to 4) of the well-formed UTF-8 sequence at the start of s, or 0 when s is empty
// or does not start with one (overlong forms, surrogates and code points above U+10FFFF are
// not well formed).
std::size_t SequenceLength(std::string_view s) noexcept;

// True when the whole text is well-formed UTF-8.
bool IsValid(std::string_view s) noexcept;

// Decodes the character at s[pos] and advances pos past it. A byte that does not start a
// well-formed sequence gives U+FFFD and advances pos by one. pos must be < s.size().
char32_t Next(std::string_view s, std::size_t& pos) noexcept;

// Appends the UTF-8 form of a code point (U+FFFD for one that cannot be encoded).
void Append(std::string& out, char32_t cp);

}  // namespace platform::utf8
