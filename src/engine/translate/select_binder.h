// Binds a SELECT of the dialect to the stored tables of one database, giving
// the resolved statement a backend runs (plan.h).
//
// FROM: the first table, then comma joins (cross joins narrowed by WHERE) and
// [INNER] / LEFT JOIN chains, each ON condition seeing the tables up to and
// including its own. A table may carry an alias, with or without AS.
// Select list: "*" gives every column of every table in FROM order, "t.*"
// every column of t in table order, any other item an expression with an
// optional alias. A result column is named by its alias, else by the stored
// spelling of its column, else "EXPRn" (n its place in the list); two result
// columns may share a name. Its type is that of the column it reads.
// ORDER BY sorts on expressions of the tables; an unqualified name that no
// table has may name a result column by its alias, and an integer n the n-th
// result column.
//
// A table that does not exist is EngineError 11010 naming it; every other
// failure is 11949 saying what and where (see expr_binder.h).
#pragma once

#include <string_view>

#include "engine/sql/ast.h"
#include "engine/storage/connection.h"
#include "engine/storage/plan.h"
#include "engine/translate/expr_binder.h"

namespace engine::translate {

plan::Select BindSelect(const sql::SelectStmt& select, storage::Connection& connection,
                        const ParamValues& params, std::string_view text);

// The stored table of a name, or EngineError 11010.
storage::TableSchema LookupTable(storage::Connection& connection, const sql::Name& name);

}  // namespace engine::translate
