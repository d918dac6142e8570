// The files under resources/, compiled in (the program needs no file of its
// own beside it): the page frame and the style sheet.
#pragma once

#include <string_view>

namespace kashidashi::opac {

std::string_view PageTemplate();  // resources/page.html
std::string_view StyleSheet();    // resources/opac.css

}  // namespace kashidashi::opac
