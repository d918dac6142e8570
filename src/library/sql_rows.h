// One SELECT of the engine's dialect run on a backend connection, for the
// librarian's lists and counts: the statement is parsed and bound by the
// engine (never handed to the backend as text), parameters by name without
// regard to case.
#pragma once

#include <map>
#include <string>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

using SqlParams = std::map<std::string, engine::Value>;  // names in lower case

// Throws EngineError (11010 for a missing table, 11949 for a statement the
// tables do not fit).
engine::storage::ResultSet SelectRows(engine::storage::Connection& connection,
                                      const std::string& text, const SqlParams& params = {});

// Runs one UPDATE, DELETE or INSERT of the dialect; the rows it changed.
int64_t ExecuteRows(engine::storage::Connection& connection, const std::string& text,
                    const SqlParams& params = {});

// Readers of result values that tolerate NULL and the numeric kinds alike.
int64_t IntegerOf(const engine::Value& value);   // NULL and texts read as 0
std::string TextOf(const engine::Value& value);  // NULL reads as ""
// A NULL or non-date reads as nothing.
std::optional<engine::Date> DateOf(const engine::Value& value);

}  // namespace kashidashi::library
