#include "library/holdings/row_lock.h"

#include <chrono>
#include <thread>

#include "engine/common/error.h"
#include "library/connection_transaction.h"
#include "library/data_place.h"

namespace kashidashi::library::holdings {
namespace {

using engine::storage::Connection;
using engine::storage::RowId;

RowId RowIdOf(Connection& connection, const engine::storage::TableSchema& schema,
              const std::string& keyColumn, const engine::Value& key) {
    auto column = schema.FindColumn(keyColumn);
    if (!column) throw engine::EngineError::Make(engine::err::kRecordChanged, schema.name);
    engine::storage::ScanRequest request;
    request.table = &schema;
    request.orderColumns = {*column};
    request.equalKeys = {key};
    request.limit = 1;
    auto rows = connection.Scan(request);
    if (rows.empty()) throw engine::EngineError::Make(engine::err::kRecordChanged, schema.name);
    return rows.front().id;
}

// The row's lock, as the desk takes it: one try, then 15 more 100 ms apart.
void LockRow(Connection& connection, const std::string& table, RowId id) {
    for (int attempt = 0;; ++attempt) {
        if (connection.TryLockRow(table, id)) return;
        if (attempt >= kDeskLockRule.retryCount) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(kDeskLockRule.waitMs));
    }
    throw engine::EngineError::Make(engine::err::kRecordLocked, table);
}

}  // namespace

void WithRowLocked(Connection& connection, const std::string& table, const std::string& keyColumn,
                   const engine::Value& key, const std::function<void()>& work) {
    auto schema = connection.DescribeTable(table);
    if (!schema) throw engine::EngineError::Make(engine::err::kTableMissing, table);
    const RowId id = RowIdOf(connection, *schema, keyColumn, key);
    LockRow(connection, schema->name, id);
    struct Unlock {
        Connection& connection;
        std::string table;
        RowId id;
        ~Unlock() {
            try {
                connection.UnlockRow(table, id);
            } catch (...) {
                // A lost connection has let go of its locks.
            }
        }
    } unlock{connection, schema->name, id};
    if (connection.InTransaction()) {
        work();
        return;
    }
    ConnectionTransaction transaction(connection);
    work();
    transaction.Commit();
}

void WriteColumns(Connection& connection, const std::string& table, const std::string& keyColumn,
                  const engine::Value& key, const ColumnChanges& changes) {
    if (changes.empty()) return;
    std::string text = "Update " + table + " Set ";
    SqlParams params{{"key", key}};
    for (size_t i = 0; i < changes.size(); ++i) {
        const std::string name = "p" + std::to_string(i);
        text += (i ? ", " : "") + changes[i].column + "=:" + name;
        params[name] = changes[i].value;
    }
    text += " Where " + keyColumn + "=:key";
    WithRowLocked(connection, table, keyColumn, key, [&] {
        if (ExecuteRows(connection, text, params) != 1)
            throw engine::EngineError::Make(engine::err::kRecordChanged, table);
    });
}

}  // namespace kashidashi::library::holdings
