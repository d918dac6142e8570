// The command line of "kashidashi-admin sql":
//
//   sql FOLDER [--param NAME=TYPE:VALUE]... TEXT
//
// FOLDER and TEXT are the two words that are no option, in that order;
// FOLDER may also name a server (data_location.h);
// --param options may stand anywhere among them. TYPE is int, text, date
// (yyyy/mm/dd) or datetime (yyyy/mm/dd hh:nn:ss); a text VALUE may be empty.
// A parameter named twice takes the later value.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"

namespace kashidashi::admin {

struct SqlArguments {
    std::string folder;
    std::string text;
    std::map<std::string, engine::Value> params;  // by name in lower case
};

// The arguments, or nothing with `problem` saying what is wrong.
std::optional<SqlArguments> ParseSqlArguments(const std::vector<std::string>& args,
                                              std::string& problem);

// The value of "TYPE:VALUE", or nothing when the type is unknown or the value
// is not one of it.
std::optional<engine::Value> ParseTypedValue(const std::string& typed);

}  // namespace kashidashi::admin
