#include "reports/code39.h"

#include "reports/bar_patterns.h"

namespace kashidashi::reports {
namespace {

constexpr BarPattern kTable[] = {
    {'0', "nnnwwnwnn"}, {'1', "wnnwnnnnw"}, {'2', "nnwwnnnnw"}, {'3', "wnwwnnnnn"},
    {'4', "nnnwwnnnw"}, {'5', "wnnwwnnnn"}, {'6', "nnwwwnnnn"}, {'7', "nnnwnnwnw"},
    {'8', "wnnwnnwnn"}, {'9', "nnwwnnwnn"}, {'A', "wnnnnwnnw"}, {'B', "nnwnnwnnw"},
    {'C', "wnwnnwnnn"}, {'D', "nnnnwwnnw"}, {'E', "wnnnwwnnn"}, {'F', "nnwnwwnnn"},
    {'G', "nnnnnwwnw"}, {'H', "wnnnnwwnn"}, {'I', "nnwnnwwnn"}, {'J', "nnnnwwwnn"},
    {'K', "wnnnnnnww"}, {'L', "nnwnnnnww"}, {'M', "wnwnnnnwn"}, {'N', "nnnnwnnww"},
    {'O', "wnnnwnnwn"}, {'P', "nnwnwnnwn"}, {'Q', "nnnnnnwww"}, {'R', "wnnnnnwwn"},
    {'S', "nnwnnnwwn"}, {'T', "nnnnwnwwn"}, {'U', "wwnnnnnnw"}, {'V', "nwwnnnnnw"},
    {'W', "wwwnnnnnn"}, {'X', "nwnnwnnnw"}, {'Y', "wwnnwnnnn"}, {'Z', "nwwnwnnnn"},
    {'-', "nwnnnnwnw"}, {'.', "wwnnnnwnn"}, {' ', "nwwnnnwnn"}, {'$', "nwnwnwnnn"},
    {'/', "nwnwnnnwn"}, {'+', "nwnnnwnwn"}, {'%', "nnnwnwnwn"}, {'*', "nwnnwnwnn"},
};

// Appends the bars of one character starting at `at`; returns the end.
int AddCharacter(std::string_view pattern, int at, std::vector<Bar>& bars) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        int width = pattern[i] == 'w' ? 2 : 1;
        if (i % 2 == 0) bars.push_back({at, width});
        at += width;
    }
    return at;
}

}  // namespace

std::optional<std::string_view> Code39Pattern(char c) {
    return FindBarPattern(kTable, c);
}

std::optional<std::vector<Bar>> Code39Bars(std::string_view text) {
    if (text.find('*') != std::string_view::npos) return std::nullopt;
    std::string symbol = "*" + std::string(text) + "*";
    std::vector<Bar> bars;
    int at = 0;
    for (char c : symbol) {
        auto pattern = Code39Pattern(c);
        if (!pattern) return std::nullopt;
        at = AddCharacter(*pattern, at, bars) + 1;
    }
    return bars;
}

int Code39Units(std::string_view text) {
    int characters = static_cast<int>(text.size()) + 2;
    return characters * 12 + characters - 1;
}

}  // namespace kashidashi::reports
