// Keywords of the SQL dialect.
//
// Keywords are plain names compared without regard to case. The reserved ones
// below can never be a plain table, column or alias name (write them in double
// quotes instead); this is what lets "From kashibo Left Join ..." read Left as
// a keyword rather than as an alias. Every other keyword (the type names,
// PRIMARY, KEY, LANGUAGE, IF, ...) is recognised only where the grammar
// expects it, so "Name", "Memo" or "Date" stay usable as plain names.
#pragma once

#include <string_view>

#include "engine/sql/token.h"

namespace engine::sql {

bool IsReservedWord(std::string_view word);

// A plain name token spelled like `keyword` in any case.
bool IsKeyword(const Token& token, std::string_view keyword);

}  // namespace engine::sql
