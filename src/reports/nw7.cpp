#include "reports/nw7.h"

#include <cctype>

namespace kashidashi::reports {
namespace {

struct Entry {
    char c;
    const char* pattern;
};

constexpr Entry kTable[] = {
    {'0', "nnnnnww"}, {'1', "nnnnwwn"}, {'2', "nnnwnnw"}, {'3', "wwnnnnn"}, {'4', "nnwnnwn"},
    {'5', "wnnnnwn"}, {'6', "nwnnnnw"}, {'7', "nwnnwnn"}, {'8', "nwwnnnn"}, {'9', "wnnwnnn"},
    {'-', "nnnwwnn"}, {'$', "nnwwnnn"}, {':', "wnnnwnw"}, {'/', "wnwnnnw"}, {'.', "wnwnwnn"},
    {'+', "nnwnwnw"}, {'A', "nnwwnwn"}, {'B', "nwnwnnw"}, {'C', "nnnwnww"}, {'D', "nnnwwwn"},
};

}  // namespace

std::optional<std::string_view> Nw7Pattern(char c) {
    char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const Entry& entry : kTable)
        if (entry.c == upper) return std::string_view(entry.pattern);
    return std::nullopt;
}

}  // namespace kashidashi::reports
