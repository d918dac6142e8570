// Runs statements of the dialect on one database: binds each to the stored
// tables (select_binder.h, change_binder.h) or hands it to the data
// definition (ddl_executor.h), and lets the backend run the result. The
// statement's text never reaches the backend; values travel bound.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/sql/ast.h"
#include "engine/storage/connection.h"
#include "engine/translate/expr_binder.h"

namespace engine::translate {

// The rows of a SELECT, in the order its ORDER BY asks for.
storage::ResultSet RunQuery(const sql::SelectStmt& select, storage::Connection& connection,
                            const ParamValues& params, std::string_view text);

// Runs any statement and returns the number of rows it changed: those of an
// UPDATE, DELETE or INSERT, none for a data definition statement; a SELECT
// changes none either (its rows are read and dropped).
int64_t ExecuteStatement(const sql::Statement& statement, storage::Connection& connection,
                         const ParamValues& params, std::string_view text);

}  // namespace engine::translate
