#include "desk/control_codes.h"

#include <string>

namespace kashidashi::desk {

ControlCode ExactControlCodeOf(std::string_view text) {
    if (text == "LENDING") return ControlCode::Lending;
    if (text == "RETURN") return ControlCode::Return;
    if (text == "ACTION") return ControlCode::Action;
    if (text == "CANCEL") return ControlCode::Cancel;
    return ControlCode::None;
}

ControlCode ControlCodeOf(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ExactControlCodeOf(upper);
}

}  // namespace kashidashi::desk
