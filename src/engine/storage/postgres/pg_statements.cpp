// Resolved statements on the server backend.
#include "engine/storage/postgres/pg_connection.h"
#include "engine/storage/postgres/pg_dialect.h"
#include "engine/storage/sql_text/sql_writer.h"

namespace engine::storage::postgres {

ResultSet PgConnection::Run(const plan::Select& select) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteSelect(Dialect(), select, bindings);
    ResultSet result;
    for (const auto& column : select.columns) result.columns.push_back({column.name, column.type});
    auto rows =
        NamingTable(select.from.front().table.name, [&] { return link_.Exec(sql, bindings); });
    result.rows.resize(rows.Rows());
    for (int r = 0; r < rows.Rows(); ++r) {
        result.rows[r].id = rows.Integer(r, 0);
        for (size_t c = 0; c < result.columns.size(); ++c)
            result.rows[r].values.push_back(
                rows.At(r, static_cast<int>(c + 1), result.columns[c].type));
    }
    return result;
}

int64_t PgConnection::Run(const plan::Update& update) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteUpdate(Dialect(), update, bindings);
    int64_t changed = 0;
    Atomically(
        update.table.name,
        [&] {
            try {
                changed = link_.Exec(sql, bindings).Changed();
            } catch (const EngineError& error) {
                ThrowWriteError(update.table, error);
            }
        },
        true);
    return changed;
}

int64_t PgConnection::Run(const plan::Delete& del) {
    std::vector<Value> bindings;
    std::string sql = sqltext::WriteDelete(Dialect(), del, bindings);
    int64_t changed = 0;
    Atomically(
        del.table.name, [&] { changed = link_.Exec(sql, bindings).Changed(); }, true);
    return changed;
}

int64_t PgConnection::Run(const plan::Insert& insert) {
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

}  // namespace engine::storage::postgres
