// Values to and from the server's text forms, and the engine's column types
// as server column types.
//
// Column types: INTEGER integer, SMALLINT smallint, FLOAT double precision,
// BOOLEAN boolean, DATE date, TIMESTAMP timestamp(3), CHAR(n) varchar(n) and
// MEMO text, both in the "C" collation. AUTOINC and MONEY are integer and
// double precision columns whose comment names them ("AUTOINC", "MONEY").
// The size n of a text counts code page 932 bytes; the engine cuts texts to
// it before they reach the server, and a character is never less than a byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/common/field_type.h"
#include "engine/common/value.h"

namespace engine::storage::postgres {

// The text a bound value is sent as (not for NULL).
std::string WireText(const Value& value);
// A value the server sent as text, read as a column of `type`.
Value ReadValue(std::string_view text, const ColumnType& type);

// The server type of a column, and the comment that marks it (or "").
std::string DeclaredType(const ColumnType& type);
std::string TypeComment(const ColumnType& type);
// The column type from the server's type name (format_type) and comment.
std::optional<ColumnType> ParseDeclaredType(const std::string& declared,
                                            const std::string& comment);

}  // namespace engine::storage::postgres
