// The server backend: the tables of one PostgreSQL database, seen by one
// session's database through one libpq connection.
//
// Tables: each table has a hidden row id column "kx_rowid" (an identity,
// increasing with every insert) as its PostgreSQL primary key; the engine's
// index "name" of table T is the index "T$name" ("T$PRIMARY" for the primary
// index), its columns NULLS FIRST, a non-unique one followed by the row id.
// Names are looked up without regard to letter case and created as written.
//
// Writes: every write is atomic. Inside a transaction it runs in a savepoint,
// so that a failed write (a duplicate key) undoes only itself, as on the
// local backend; outside one, a write of several statements runs in a
// transaction of its own. AUTOINC values are the largest so far plus one,
// taken under a transaction lock of the table's own.
//
// Locks: row locks and table uses are session advisory locks of the server
// (pg_try_advisory_lock, shared for a table in use, exclusive for exclusive
// use), so they vanish with the connection. Waits for another transaction's
// rows or tables follow the lock rule (server lock_timeout) and then fail
// with 10241 naming the table. A lock is taken in the same round trip as
// the read that follows it, and released without waiting for the answer.
//
// Descriptions: a table's description is kept for the next open; a
// statement that meets a missing column or table, or a prepared statement
// outdated, makes every kept one go, and so does DDL of this connection.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "engine/storage/connection.h"
#include "engine/storage/postgres/pg_link.h"

namespace engine::storage::postgres {

class PgConnection : public Connection {
  public:
    PgConnection(const ServerAddress& server, LockRule rule);
    ~PgConnection() override;

    std::optional<TableSchema> DescribeTable(const std::string& name) override;
    std::vector<std::string> TableNames() override;
    std::optional<TableSchema> DescribeTableKept(const std::string& name) override;
    uint64_t SchemaChanges() const override { return link_.SchemaChanges(); }
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
    std::optional<std::vector<Row>> TryUseTableAndScan(TableUse use,
                                                       const ScanRequest& first) override;
    LockedRow TryLockAndReadRow(const TableSchema& table, RowId id) override;

    std::string Location() const override { return link_.Location(); }
    bool Replaceable() const override { return link_.Broken() && !inTransaction_ && uses_.empty(); }
    // Desk marks as advisory locks (engine/storage/desk_marks.h).
    bool AnnounceDesk(const std::string& machine);
    std::vector<std::string> OpenDesks();

  private:
    // Runs `work`, a write to `table`, atomically (see above). A `single`
    // statement outside a transaction is atomic by itself.
    void Atomically(const std::string& table, const std::function<void()>& work,
                    bool single = false);
    // DDL of `table`, run atomically; kept descriptions go, also on failure.
    void AlterSchema(const std::string& table, const std::function<void()>& work);
    void Exec(const std::string& sql) { link_.Exec(sql); }
    TableSchema Require(const std::string& table);
    std::vector<IndexDef> LoadIndexes(const PgResult& result, int row, const std::string& table);
    void WriteIndex(const std::string& table, const IndexDef& index);
    void WriteColumn(const std::string& table, const ColumnDef& column, bool add);
    void AssignAutoIncrements(const TableSchema& table, std::vector<Value>& values);
    [[noreturn]] void ThrowWriteError(const TableSchema& table, const EngineError& error);
    static PgStatement TryAdvisoryStatement(const char* kind, const std::string& table, int64_t id,
                                            bool shared);
    bool TryAdvisory(const char* kind, const std::string& table, int64_t id, bool shared);
    // Whether `use` of `table` may be taken now, as far as this connection
    // knows; `again` when it already holds the table shared.
    bool MayUse(const std::string& table, bool exclusive, bool& again) const;
    void NoteUse(const std::string& table, bool exclusive);
    void EndAdvisory(const char* kind, const std::string& table, int64_t id, bool shared,
                     bool waited);

    struct Use {
        int shared = 0;
        bool exclusive = false;
    };

    PgLink link_;
    bool inTransaction_ = false;
    int atomicDepth_ = 0;
    std::map<std::string, Use> uses_;               // by table name in lower case
    std::map<std::string, TableSchema> described_;  // by table name in lower case
    uint64_t describedAt_ = 0;                      // SchemaChanges() when kept
};

}  // namespace engine::storage::postgres
