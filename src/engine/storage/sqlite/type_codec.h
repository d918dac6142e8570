// How the engine's column types are declared in SQLite. The declared type
// keeps the dialect's type (and a text's size) in the SQLite schema itself,
// and is chosen so that SQLite's type affinity never rewrites a value (a MEMO
// holding "123" stays a text):
//   INTEGER, SMALLINT, AUTOINC_INT, FLOAT, MONEY_REAL, BOOLEAN_INT,
//   DATE_INT (days), TIMESTAMP_INT (milliseconds), CHAR(n), MEMO_TEXT.
#pragma once

#include <optional>
#include <string>

#include "engine/common/field_type.h"

namespace engine::storage::sqlite {

std::string DeclaredType(const ColumnType& type);
std::optional<ColumnType> ParseDeclaredType(const std::string& declared);

}  // namespace engine::storage::sqlite
