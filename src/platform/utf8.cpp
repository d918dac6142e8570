#include "platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace platform::utf8 {

std::size_t FirstNonAscii(std::string_view s) noexcept {
    const char* p = s.data();
    const std::size_t n = s.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080ULL) break;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) & 0x80) return i;
    }
    return n;
}

std::size_t SequenceLength(std::string_view s) noexcept {
    if (s.empty()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    const unsigned char b0 = p[0];
    if (b0 < 0x80) return 1;
    auto cont = [&](std::size_t i) { return i < n && (p[i] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (b0 == 0xE0 && p[1] < 0xA0) return 0;   // overlong
        if (b0 == 0xED && p[1] >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (b0 == 0xF0 && p[1] < 0x90) return 0;   // overlong
        if (b0 == 0xF4 && p[1] >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

bool IsValid(std::string_view s) noexcept {
    std::size_t i = FirstNonAscii(s);
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t len = SequenceLength(s.substr(i));
        if (len == 0) return false;
        i += len;
    }
    return true;
}

char32_t Next(std::string_view s, std::size_t& pos) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + pos;
    const std::size_t len = SequenceLength(s.substr(pos));
    char32_t cp;
    switch (len) {
        case 1:
            cp = p[0];
            break;
        case 2:
            cp = (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
            break;
        case 3:
            cp = (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            break;
        case 4:
            cp = (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
                 (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            break;
        default:
            pos += 1;
            return U'\uFFFD';
    }
    pos += len;
    return cp;
}

void Append(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace platform::utf8
