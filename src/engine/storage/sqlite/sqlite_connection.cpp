#include "engine/storage/sqlite/sqlite_connection.h"

#include <sys/stat.h>

#include <chrono>
#include <thread>
#include <utility>

#include "engine/common/error.h"

namespace engine::storage::sqlite {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string JoinPath(const std::string& folder, const char* file) {
    if (!folder.empty() && folder.back() == '/') return folder + file;
    return folder + "/" + file;
}

// SQLite's busy handler: one more try after waiting the rule's time, until
// the rule's retries are spent.
int WaitByLockRule(void* rule, int retriesSoFar) {
    const auto& lockRule = *static_cast<const LockRule*>(rule);
    if (retriesSoFar >= lockRule.retryCount) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(lockRule.waitMs));
    return 1;
}

}  // namespace

SqliteConnection::SqliteConnection(const std::string& folder, LockRule rule)
    : folder_(folder), rule_(rule) {
    if (!IsFolder(folder)) throw EngineError::Make(err::kFolderMissing, folder);
    OpenFile(false);
}

SqliteConnection::~SqliteConnection() {
    if (db_ && inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    CloseFile();
}

bool SqliteConnection::OpenFile(bool create) {
    if (db_) return true;
    std::string path = JoinPath(folder_, kDatabaseFileName);
    if (!create && !Exists(path)) return false;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        // The failed handle still tells why (a read-only or full medium).
        sqlite3* failed = std::exchange(db_, nullptr);
        try {
            ThrowSqliteError(failed, rc, path);
        } catch (...) {
            sqlite3_close(failed);
            throw;
        }
    }
    sqlite3_busy_handler(db_, WaitByLockRule, &rule_);
    cache_ = std::make_unique<StatementCache>(db_);
    try {
        Exec("PRAGMA journal_mode=DELETE");
        Exec("PRAGMA synchronous=FULL");
        // Reading the schema proves the file is a database and not something foreign.
        CheckSchemaVersion();
    } catch (...) {
        CloseFile();
        throw;
    }
    return true;
}

void SqliteConnection::CloseFile() {
    cache_.reset();
    sqlite3_close(db_);
    db_ = nullptr;
}

LockTable& SqliteConnection::Locks() {
    if (!locks_) locks_ = std::make_unique<LockTable>(JoinPath(folder_, kLockFileName));
    return *locks_;
}

void SqliteConnection::Exec(const std::string& sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) ThrowSqliteError(db_, rc, folder_);
}

int64_t SqliteConnection::RunChanges(const std::string& sql, const std::vector<Value>& bindings) {
    Statement& statement = cache_->Get(sql);
    statement.BindAll(bindings);
    statement.Run();
    return sqlite3_changes64(db_);
}

void SqliteConnection::Atomically(const std::string& table, const std::function<void()>& work) {
    OpenFile(true);
    bool nested = !sqlite3_get_autocommit(db_);
    NamingTable(table, [&] {
        Exec(nested ? "SAVEPOINT kx_atomic" : "BEGIN IMMEDIATE");
        try {
            work();
            Exec(nested ? "RELEASE kx_atomic" : "COMMIT");
        } catch (...) {
            const char* undo = nested ? "ROLLBACK TO kx_atomic; RELEASE kx_atomic" : "ROLLBACK";
            if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, undo, nullptr, nullptr, nullptr);
            throw;
        }
    });
}

void SqliteConnection::Begin() {
    // The write lock is taken at once: a desk's transaction never waits
    // halfway for another's. No table is known yet, so a wait that fails
    // names the folder.
    OpenFile(true);
    Exec("BEGIN IMMEDIATE");
    inTransaction_ = true;
}

// A deferred transaction: its first read takes the shared lock, which holds
// the file as it is until the rollback; another desk's commit waits for it
// (the lock rule). A folder without a database file has nothing to hold.
void SqliteConnection::BeginSnapshot() {
    if (OpenFile(false)) Exec("BEGIN DEFERRED");
    inTransaction_ = true;
}

void SqliteConnection::Commit(bool /*forceFlush*/) {
    // Every commit syncs fully (synchronous=FULL), forced or not.
    Exec("COMMIT");
    inTransaction_ = false;
}

void SqliteConnection::Rollback() {
    inTransaction_ = false;
    if (db_ && !sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
}

bool SqliteConnection::TryUseTable(const std::string& table, TableUse use) {
    return Locks().TryUseTable(table, use == TableUse::Exclusive);
}

void SqliteConnection::EndUseTable(const std::string& table, TableUse use) {
    if (locks_) locks_->EndUseTable(table, use == TableUse::Exclusive);
}

bool SqliteConnection::TryLockRow(const std::string& table, RowId id) {
    return Locks().TryLockRow(table, id);
}

void SqliteConnection::UnlockRow(const std::string& table, RowId id) {
    if (locks_) locks_->UnlockRow(table, id);
}

}  // namespace engine::storage::sqlite
