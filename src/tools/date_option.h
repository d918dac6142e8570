// A date given on the command line (yyyy/mm/dd), with the problem said in
// plain Japanese: a text of another form, or a day the calendar lacks
// ("2026/02/30 という日はありません。").
#pragma once

#include <optional>
#include <string>

#include "engine/common/value.h"

namespace kashidashi::admin {

// The day, or nothing with `problem` set.
std::optional<engine::Date> DateOption(const std::string& text, std::string& problem);

}  // namespace kashidashi::admin
