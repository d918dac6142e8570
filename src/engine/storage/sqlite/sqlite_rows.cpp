// The row side of the SQLite backend: walks in index order, single rows by
// row id, and the writes of the data set layer.
#include <algorithm>

#include "engine/common/error.h"
#include "engine/storage/sql_text/row_sql.h"
#include "engine/storage/sql_text/sql_writer.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "engine/storage/sqlite/sqlite_dialect.h"

namespace engine::storage::sqlite {

using sqltext::QuoteName;

std::vector<Row> SqliteConnection::Scan(const ScanRequest& request) {
    auto text = sqltext::ScanSql(Dialect(), request);
    std::vector<Row> rows;
    rows.reserve(std::clamp(request.limit, 0, 1024));  // a walk's window, not regrown
    NamingTable(request.table->name, [&] {
        Statement& statement = cache_->Get(text.sql);
        statement.BindAll(text.bindings);
        while (statement.Step()) rows.push_back(RowOf(statement, request.table->columns));
        statement.Reset();
    });
    return rows;
}

int64_t SqliteConnection::Count(const TableSchema& table, const plan::Expr* filter) {
    auto text = sqltext::CountSql(Dialect(), table, filter);
    return NamingTable(table.name, [&] {
        Statement& statement = cache_->Get(text.sql);
        statement.BindAll(text.bindings);
        statement.Step();
        int64_t count = statement.ColumnInteger(0);
        statement.Reset();
        return count;
    });
}

std::optional<Row> SqliteConnection::ReadRow(const TableSchema& table, RowId id) {
    auto text = sqltext::ReadRowSql(Dialect(), table, id);
    return NamingTable(table.name, [&] {
        Statement& statement = cache_->Get(text.sql);
        statement.BindAll(text.bindings);
        std::optional<Row> row;
        if (statement.Step()) row = RowOf(statement, table.columns);
        statement.Reset();
        return row;
    });
}

void SqliteConnection::AssignAutoIncrements(const TableSchema& table, std::vector<Value>& values) {
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].type.type != FieldType::AutoInc || !values[i].IsNull()) continue;
        Statement& statement =
            cache_->Get("SELECT COALESCE(MAX(" + QuoteName(table.columns[i].name) +
                        "), 0) + 1 FROM " + QuoteName(table.name));
        statement.Step();
        values[i] = Value(statement.ColumnInteger(0));
        statement.Reset();
    }
}

void SqliteConnection::ThrowWriteError(const TableSchema& table, const EngineError& error) {
    if (error.code() != err::kDuplicateKey) throw error;
    const IndexDef* primary = table.PrimaryIndex();
    throw EngineError::Make(err::kDuplicateKey, primary ? primary->name : "", table.name);
}

RowId SqliteConnection::InsertRow(const TableSchema& table, std::vector<Value>& values) {
    RowId id = 0;
    Atomically(table.name, [&] {
        AssignAutoIncrements(table, values);
        try {
            auto text = sqltext::InsertSql(Dialect(), table, values);
            RunChanges(text.sql, text.bindings);
        } catch (const EngineError& error) {
            ThrowWriteError(table, error);
        }
        id = sqlite3_last_insert_rowid(db_);
    });
    return id;
}

bool SqliteConnection::UpdateRow(const TableSchema& table, RowId id,
                                 const std::vector<Value>& original,
                                 const std::vector<Value>& values) {
    auto text = sqltext::UpdateRowSql(Dialect(), table, id, original, values);
    if (text.sql.empty()) return ReadRow(table, id).has_value();
    int64_t changed = 0;
    Atomically(table.name, [&] {
        try {
            changed = RunChanges(text.sql, text.bindings);
        } catch (const EngineError& error) {
            ThrowWriteError(table, error);
        }
    });
    return changed == 1;
}

bool SqliteConnection::DeleteRow(const TableSchema& table, RowId id,
                                 const std::vector<Value>& original) {
    auto text = sqltext::DeleteRowSql(Dialect(), table, id, original);
    int64_t changed = 0;
    Atomically(table.name, [&] { changed = RunChanges(text.sql, text.bindings); });
    return changed == 1;
}

}  // namespace engine::storage::sqlite
