// The control barcodes: four Code 39 words on the control sheet that the
// reader types into an entry field like any number. Only these four words
// are read as words; every other text is taken for its digits.
#pragma once

#include <string_view>

namespace kashidashi::desk {

enum class ControlCode { None, Lending, Return, Action, Cancel };

// The code a text is, compared in upper case ("return" is RETURN).
ControlCode ControlCodeOf(std::string_view text);
// The code a text is exactly as typed (the loan limit lets only the exact
// words ACTION and CANCEL through).
ControlCode ExactControlCodeOf(std::string_view text);

}  // namespace kashidashi::desk
