// The statements of the row side of a backend: walks in index order, single
// rows by row id, and the writes of the data set layer, written for a
// backend's SQL dialect. Each comes with its bound values in order.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "engine/storage/sql_text/sql_dialect.h"

namespace engine::storage::sqltext {

struct SqlText {
    std::string sql;
    std::vector<Value> bindings;
};

// The row id, then every column of the table, in table order.
std::string ColumnList(const SqlDialect& dialect, const TableSchema& table);
// Rows in the order (order columns..., row id); NULL sorts first.
SqlText ScanSql(const SqlDialect& dialect, const ScanRequest& request);
SqlText CountSql(const SqlDialect& dialect, const TableSchema& table, const plan::Expr* filter);
SqlText ReadRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id);
// Every column of the table, in table order.
SqlText InsertSql(const SqlDialect& dialect, const TableSchema& table,
                  const std::vector<Value>& values);
// Writes the columns that differ from `original` when the row still holds
// `original`; an empty text when no column differs.
SqlText UpdateRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id,
                     const std::vector<Value>& original, const std::vector<Value>& values);
SqlText DeleteRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id,
                     const std::vector<Value>& original);

}  // namespace engine::storage::sqltext
