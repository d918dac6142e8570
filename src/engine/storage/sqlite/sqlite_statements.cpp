// Resolved statements on the SQLite backend.
#include "engine/common/error.h"
#include "engine/storage/sql_text/sql_writer.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "engine/storage/sqlite/sqlite_dialect.h"

namespace engine::storage::sqlite {

ResultSet SqliteConnection::Run(const plan::Select& select) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteSelect(Dialect(), select, bindings);
    ResultSet result;
    for (const auto& column : select.columns) result.columns.push_back({column.name, column.type});
    NamingTable(select.from.front().table.name, [&] {
        Statement& statement = cache_->Get(sql);
        statement.BindAll(bindings);
        while (statement.Step()) result.rows.push_back(RowOf(statement, result.columns));
        statement.Reset();
    });
    return result;
}

int64_t SqliteConnection::Run(const plan::Update& update) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteUpdate(Dialect(), update, bindings);
    int64_t changed = 0;
    Atomically(update.table.name, [&] {
        try {
            changed = RunChanges(sql, bindings);
        } catch (const EngineError& error) {
            ThrowWriteError(update.table, error);
        }
    });
    return changed;
}

int64_t SqliteConnection::Run(const plan::Delete& del) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteDelete(Dialect(), del, bindings);
    int64_t changed = 0;
    Atomically(del.table.name, [&] { changed = RunChanges(sql, bindings); });
    return changed;
}

int64_t SqliteConnection::Run(const plan::Insert& insert) {
    int64_t count = 0;
    Atomically(insert.table.name, [&] {
        for (const auto& given : insert.rows) {
            std::vector<Value> values = insert.TableRow(given);
            InsertRow(insert.table, values);
            ++count;
        }
    });
    return count;
}

}  // namespace engine::storage::sqlite
