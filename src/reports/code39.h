// Code 39: the 43 data characters and the start/stop character "*". Each
// character is five bars and four spaces, three of the nine wide; a wide
// element is two narrow ones, and one narrow space parts two characters.
// The symbol is "*" + text + "*", without a check character.
//
// At the desk's size a narrow element is 2/96 inch, so a character is
// 24/96 inch and six letters make 206/96 inch (54.5 mm), seven 232/96 inch.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kashidashi::reports {

constexpr double kCode39NarrowMm = 2.0 * 25.4 / 96.0;

struct Bar {
    int start = 0;  // in narrow units from the left end
    int width = 1;  // 1 narrow, 2 wide
};

// The nine elements of a character ("n" narrow, "w" wide, bar first);
// nothing for a character Code 39 lacks.
std::optional<std::string_view> Code39Pattern(char c);
// The bars of the symbol of `text` (lower-case letters count as upper
// case); nothing when a character cannot be encoded.
std::optional<std::vector<Bar>> Code39Bars(std::string_view text);
// The symbol's width in narrow units: 12 per character, 1 between two.
int Code39Units(std::string_view text);

}  // namespace kashidashi::reports
