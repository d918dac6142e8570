// The backend interface: one open database (a data folder or a server
// database) as seen by one session. Everything above this interface is
// backend-neutral; a backend owns its storage, its locks and its statements.
//
// Rows are addressed by a RowId that the backend assigns and keeps stable
// for the life of the row. Locks are owned by the Connection: they vanish
// when it is destroyed or when its process dies.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/plan.h"
#include "engine/storage/schema.h"

namespace engine::storage {

using RowId = int64_t;

struct Row {
    RowId id = 0;
    std::vector<Value> values;
};

// The position of a row in an order: the values of the order columns, then
// the row id, which breaks ties (insertion order).
struct KeyPosition {
    std::vector<Value> keys;
    RowId id = 0;
};

// A walk over one table's rows in the order of some of its columns.
struct ScanRequest {
    const TableSchema* table = nullptr;
    std::vector<int> orderColumns;       // empty: insertion order
    const plan::Expr* filter = nullptr;  // only rows for which it is true
    std::vector<Value> equalKeys;        // a prefix of orderColumns must equal these
    std::optional<KeyPosition> after;    // strictly after (before, when backwards)
    bool backwards = false;
    int limit = 1;
};

struct ResultColumn {
    std::string name;
    ColumnType type;
};

struct ResultSet {
    std::vector<ResultColumn> columns;
    std::vector<Row> rows;  // Row::id is the table row id when asked for
};

enum class TableUse { Shared, Exclusive };

// A row lock tried together with a read of the row: the row as stored once
// the lock is held (nothing when it is gone), or not locked at all.
struct LockedRow {
    bool locked = false;
    std::optional<Row> row;
};

class Connection {
  public:
    virtual ~Connection() = default;

    // Schema. DescribeTable returns nothing for a missing table.
    virtual std::optional<TableSchema> DescribeTable(const std::string& name) = 0;
    virtual std::vector<std::string> TableNames() = 0;
    // A description that may have been kept from an earlier one; when a
    // statement shows it outdated, SchemaChanges() moves on and the next
    // DescribeTable reads it afresh.
    virtual std::optional<TableSchema> DescribeTableKept(const std::string& name) {
        return DescribeTable(name);
    }
    // Counts the statements that met a table other than its description.
    virtual uint64_t SchemaChanges() const { return 0; }
    virtual void CreateTable(const TableSchema& table) = 0;  // 13060 when it exists
    virtual void AddColumns(const std::string& table, const std::vector<ColumnDef>& columns) = 0;
    virtual void CreateIndex(const std::string& table, const IndexDef& index) = 0;
    virtual void DropTable(const std::string& table) = 0;
    virtual void RenameTable(const std::string& table, const std::string& newName) = 0;
    virtual void EmptyTable(const std::string& table) = 0;

    // Rows of one table.
    virtual std::vector<Row> Scan(const ScanRequest& request) = 0;
    virtual int64_t Count(const TableSchema& table, const plan::Expr* filter) = 0;
    virtual std::optional<Row> ReadRow(const TableSchema& table, RowId id) = 0;
    virtual RowId InsertRow(const TableSchema& table, std::vector<Value>& values) = 0;
    // Writes `values` over the row when it still holds `original`; false when
    // the row is gone or another writer changed it meanwhile.
    virtual bool UpdateRow(const TableSchema& table, RowId id, const std::vector<Value>& original,
                           const std::vector<Value>& values) = 0;
    virtual bool DeleteRow(const TableSchema& table, RowId id,
                           const std::vector<Value>& original) = 0;

    // Statements.
    virtual ResultSet Run(const plan::Select& select) = 0;
    virtual int64_t Run(const plan::Update& update) = 0;
    virtual int64_t Run(const plan::Delete& del) = 0;
    virtual int64_t Run(const plan::Insert& insert) = 0;

    // Transactions: one at a time.
    virtual void Begin() = 0;
    virtual void Commit(bool forceFlush) = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() const = 0;
    // A transaction that only reads and sees one moment of the database for
    // its whole length: everything committed before its first read, nothing
    // committed after it. It writes nothing and is ended by Rollback. The
    // default is an ordinary transaction.
    virtual void BeginSnapshot() { Begin(); }

    // Locks shared with every other connection to the same database, in this
    // process or another. All return false when another holder prevents them.
    virtual bool TryUseTable(const std::string& table, TableUse use) = 0;
    virtual void EndUseTable(const std::string& table, TableUse use) = 0;
    virtual bool TryLockRow(const std::string& table, RowId id) = 0;
    virtual void UnlockRow(const std::string& table, RowId id) = 0;
    // TryUseTable, then the rows of `first` once the use is held: nothing
    // when the use is refused. On a failure the use is not held.
    virtual std::optional<std::vector<Row>> TryUseTableAndScan(TableUse use,
                                                               const ScanRequest& first) {
        if (!TryUseTable(first.table->name, use)) return std::nullopt;
        try {
            return Scan(first);
        } catch (...) {
            EndUseTable(first.table->name, use);
            throw;
        }
    }
    // TryLockRow, then ReadRow once the lock is held. On a failure the row
    // is not locked.
    virtual LockedRow TryLockAndReadRow(const TableSchema& table, RowId id) {
        if (!TryLockRow(table.name, id)) return {};
        try {
            return {true, ReadRow(table, id)};
        } catch (...) {
            UnlockRow(table.name, id);
            throw;
        }
    }

    // A short description for error texts: the folder or server address.
    virtual std::string Location() const = 0;
    // Whether a new connection may take this one's place: the server ended
    // it (the operation that met that failed with 11276, as every later one
    // would) while nothing on it is held — no transaction, no table in use,
    // so no row lock either.
    virtual bool Replaceable() const { return false; }
};

}  // namespace engine::storage
