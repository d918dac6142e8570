// The local backend: the tables of one folder in one SQLite database file
// ("kashidashi.db"), with the locks of the folder's lock file
// ("kashidashi.lck") beside it. Several processes and sessions may open the
// same folder; SQLite keeps every write atomic and a killed process leaves
// no half-written transaction behind.
//
// Several desks: every write is atomic and commits with a full sync, in the
// rollback journal (never WAL: the folder may be a network share). A write
// outside a transaction takes the database's write lock before it reads
// anything, so two desks never deadlock on an upgrade. Every wait for
// another desk's database lock follows the lock rule (open_local.h) and then
// fails with 10241 naming the table.
//
// Neither file is created until something is written: a folder without a
// database has no tables, and reading it leaves it as it is.
//
// One SqliteConnection belongs to one session's database: its data sets share
// the connection and so its transaction.
#pragma once

#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/common/error.h"
#include "engine/storage/connection.h"
#include "engine/storage/locks/lock_table.h"
#include "engine/storage/open_local.h"
#include "engine/storage/sqlite/statement.h"

namespace engine::storage::sqlite {

inline constexpr const char* kDatabaseFileName = "kashidashi.db";
inline constexpr const char* kLockFileName = "kashidashi.lck";

// The current row of a statement that selects the row id, then the columns
// (anything with a `type`), each read by its type.
template <class Columns>
Row RowOf(const Statement& statement, const Columns& columns) {
    Row row;
    row.id = statement.ColumnInteger(0);
    row.values.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        row.values.push_back(statement.ColumnValue(static_cast<int>(i + 1), columns[i].type));
    return row;
}

class SqliteConnection : public Connection {
  public:
    // Opens the database file of `folder` when there is one. Throws
    // EngineError when the folder is missing or the file is not a database.
    SqliteConnection(const std::string& folder, LockRule rule);
    ~SqliteConnection() override;

    std::optional<TableSchema> DescribeTable(const std::string& name) override;
    std::vector<std::string> TableNames() override;
    void CreateTable(const TableSchema& table) override;
    void AddColumns(const std::string& table, const std::vector<ColumnDef>& columns) override;
    void CreateIndex(const std::string& table, const IndexDef& index) override;
    void DropTable(const std::string& table) override;
    void RenameTable(const std::string& table, const std::string& newName) override;
    void EmptyTable(const std::string& table) override;

    std::vector<Row> Scan(const ScanRequest& request) override;
    int64_t Count(const TableSchema& table, const plan::Expr* filter) override;
    std::optional<Row> ReadRow(const TableSchema& table, RowId id) override;
    RowId InsertRow(const TableSchema& table, std::vector<Value>& values) override;
    bool UpdateRow(const TableSchema& table, RowId id, const std::vector<Value>& original,
                   const std::vector<Value>& values) override;
    bool DeleteRow(const TableSchema& table, RowId id, const std::vector<Value>& original) override;

    ResultSet Run(const plan::Select& select) override;
    int64_t Run(const plan::Update& update) override;
    int64_t Run(const plan::Delete& del) override;
    int64_t Run(const plan::Insert& insert) override;

    void Begin() override;
    void BeginSnapshot() override;
    void Commit(bool forceFlush) override;
    void Rollback() override;
    bool InTransaction() const override { return inTransaction_; }

    bool TryUseTable(const std::string& table, TableUse use) override;
    void EndUseTable(const std::string& table, TableUse use) override;
    bool TryLockRow(const std::string& table, RowId id) override;
    void UnlockRow(const std::string& table, RowId id) override;

    std::string Location() const override { return folder_; }
    // Desk marks in the folder's lock file (engine/storage/desk_marks.h).
    bool AnnounceDesk(const std::string& machine) { return Locks().AnnounceDesk(machine); }
    std::vector<std::string> OpenDesks() { return Locks().OpenDesks(); }

  private:
    // Opens the database file: false when it is missing and not `create`d.
    bool OpenFile(bool create);
    void CloseFile();
    LockTable& Locks();
    void Exec(const std::string& sql);
    int64_t RunChanges(const std::string& sql, const std::vector<Value>& bindings);
    // Runs `work`, a write to `table`, atomically: in a savepoint of the open
    // transaction, or else in a transaction of its own that takes the write
    // lock first. Waits for other desks' locks follow the lock rule.
    void Atomically(const std::string& table, const std::function<void()>& work);
    void CheckSchemaVersion();
    TableSchema LoadSchema(const std::string& name);
    std::vector<IndexDef> LoadIndexes(const std::string& table);
    void WriteIndex(const std::string& table, const IndexDef& index);
    void AssignAutoIncrements(const TableSchema& table, std::vector<Value>& values);
    [[noreturn]] void ThrowWriteError(const TableSchema& table, const EngineError& error);

    std::string folder_;
    LockRule rule_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<StatementCache> cache_;
    std::unique_ptr<LockTable> locks_;
    bool inTransaction_ = false;
    int64_t schemaVersion_ = -1;
    std::map<std::string, TableSchema> schemas_;  // by name in lower case
};

}  // namespace engine::storage::sqlite
