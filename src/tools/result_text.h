// The text form of query results that kashidashi-admin prints: a line of
// the column names, then one line per row, fields separated by tabs. NULL
// prints as NULL, booleans as True/False, dates as yyyy/mm/dd, timestamps
// as yyyy/mm/dd hh:nn:ss, numbers in their shortest exact form.
#pragma once

#include <ostream>
#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::admin {

std::string FieldText(const engine::Value& value);
void PrintResult(const engine::storage::ResultSet& result, std::ostream& out);

}  // namespace kashidashi::admin
