// Binds the statements that change rows (UPDATE, DELETE, INSERT) to one
// stored table, giving the resolved statements a backend runs (plan.h).
//
// A value given to a column (a constant or a parameter, in SET or VALUES) is
// stored by the storage rules of that column: a text is cut to the column's
// size in CP932 bytes and loses its trailing blanks, an empty text is NULL,
// and a text given to a number, Boolean or date column is converted to it.
// SET may also give a column the value of another column of the row. INSERT
// takes constants and parameters only; columns it does not list are NULL
// (AUTOINC columns are numbered by the backend).
//
// A table that does not exist is EngineError 11010; an unknown column, a
// column set twice, a value that does not convert or a VALUES row of the
// wrong length is 11949 saying what and where.
#pragma once

#include <string_view>

#include "engine/sql/ast.h"
#include "engine/storage/connection.h"
#include "engine/storage/plan.h"
#include "engine/translate/expr_binder.h"

namespace engine::translate {

plan::Update BindUpdate(const sql::UpdateStmt& update, storage::Connection& connection,
                        const ParamValues& params, std::string_view text);
plan::Delete BindDelete(const sql::DeleteStmt& del, storage::Connection& connection,
                        const ParamValues& params, std::string_view text);
plan::Insert BindInsert(const sql::InsertStmt& insert, storage::Connection& connection,
                        const ParamValues& params, std::string_view text);

}  // namespace engine::translate
