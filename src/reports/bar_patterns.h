// The table of a barcode symbology: each character with its elements ("n"
// narrow, "w" wide, bar first), looked up without regard to case.
#pragma once

#include <cctype>
#include <optional>
#include <span>
#include <string_view>

namespace kashidashi::reports {

struct BarPattern {
    char c;
    const char* pattern;
};

inline std::optional<std::string_view> FindBarPattern(std::span<const BarPattern> table, char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const BarPattern& entry : table)
        if (entry.c == upper) return std::string_view(entry.pattern);
    return std::nullopt;
}

}  // namespace kashidashi::reports
