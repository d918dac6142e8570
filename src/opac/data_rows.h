// One SELECT of the engine's dialect on the school's data, parameters bound
// by name (never pasted into the text), and readers of the values it gives.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::opac {

using Params = std::map<std::string, engine::Value>;  // names in lower case

engine::storage::ResultSet Select(engine::storage::Connection& data, const std::string& text,
                                  const Params& params = {});

std::string TextOf(const engine::Value& value);  // NULL reads as ""
std::optional<int64_t> IntegerOf(const engine::Value& value);
std::optional<double> NumberOf(const engine::Value& value);
std::optional<engine::Date> DateOf(const engine::Value& value);
bool FlagOf(const engine::Value& value);  // NULL reads as false

}  // namespace kashidashi::opac
