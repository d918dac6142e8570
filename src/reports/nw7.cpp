#include "reports/nw7.h"

#include "reports/bar_patterns.h"

namespace kashidashi::reports {
namespace {

constexpr BarPattern kTable[] = {
    {'0', "nnnnnww"}, {'1', "nnnnwwn"}, {'2', "nnnwnnw"}, {'3', "wwnnnnn"}, {'4', "nnwnnwn"},
    {'5', "wnnnnwn"}, {'6', "nwnnnnw"}, {'7', "nwnnwnn"}, {'8', "nwwnnnn"}, {'9', "wnnwnnn"},
    {'-', "nnnwwnn"}, {'$', "nnwwnnn"}, {':', "wnnnwnw"}, {'/', "wnwnnnw"}, {'.', "wnwnwnn"},
    {'+', "nnwnwnw"}, {'A', "nnwwnwn"}, {'B', "nwnwnnw"}, {'C', "nnnwnww"}, {'D', "nnnwwwn"},
};

}  // namespace

std::optional<std::string_view> Nw7Pattern(char c) {
    return FindBarPattern(kTable, c);
}

}  // namespace kashidashi::reports
