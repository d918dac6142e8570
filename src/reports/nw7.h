// NW-7 (Codabar): the digits, "-$:/.+" and the start/stop characters A to
// D. Each character is four bars and three spaces; the digits, "-" and "$"
// have two wide elements, the others three. One narrow space parts two
// characters. The symbol is "A" + text + "A", without a check character:
// the desk keeps only the digits of a scan, so a book number reads the same
// as from its Code 39 label.
#pragma once

#include <optional>
#include <string_view>

namespace kashidashi::reports {

// The seven elements of a character ("n" narrow, "w" wide, bar first);
// nothing for a character NW-7 lacks (lower-case a to d count as upper case).
std::optional<std::string_view> Nw7Pattern(char c);

}  // namespace kashidashi::reports
