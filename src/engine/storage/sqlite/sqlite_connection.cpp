#include "engine/storage/sqlite/sqlite_connection.h"

#include <sys/stat.h>

#include "engine/common/error.h"

namespace engine::storage::sqlite {
namespace {

constexpr int kBusyTimeoutMs = 10'000;

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string JoinPath(const std::string& folder, const char* file) {
    if (!folder.empty() && folder.back() == '/') return folder + file;
    return folder + "/" + file;
}

}  // namespace

SqliteConnection::SqliteConnection(const std::string& folder) : folder_(folder) {
    if (!IsFolder(folder)) throw EngineError::Make(err::kFolderMissing, folder);
    std::string path = JoinPath(folder, kDatabaseFileName);
    int rc =
        sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw EngineError::Make(err::kIoError, path, text);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    cache_ = std::make_unique<StatementCache>(db_);
    try {
        // Reading the schema proves the file is a database and not something foreign.
        Exec("PRAGMA synchronous=NORMAL");
        CheckSchemaVersion();
        locks_ = std::make_unique<LockTable>(JoinPath(folder, kLockFileName));
    } catch (...) {
        cache_.reset();
        sqlite3_close(db_);
        throw;
    }
}

SqliteConnection::~SqliteConnection() {
    cache_.reset();
    if (inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
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

void SqliteConnection::Atomically(const std::function<void()>& work) {
    if (inTransaction_) {
        work();
        return;
    }
    Exec("SAVEPOINT kx_atomic");
    try {
        work();
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO kx_atomic; RELEASE kx_atomic", nullptr, nullptr, nullptr);
        throw;
    }
    Exec("RELEASE kx_atomic");
}

void SqliteConnection::Begin() {
    // SQLite fixes a transaction's safety level before it begins, so every
    // transaction commits with a full sync, forced or not. Outside
    // transactions single writes keep the lighter NORMAL level.
    Exec("PRAGMA synchronous=FULL");
    try {
        Exec("BEGIN IMMEDIATE");
    } catch (...) {
        Exec("PRAGMA synchronous=NORMAL");
        throw;
    }
    inTransaction_ = true;
}

void SqliteConnection::Commit(bool /*forceFlush*/) {
    Exec("COMMIT");
    inTransaction_ = false;
    Exec("PRAGMA synchronous=NORMAL");
}

void SqliteConnection::Rollback() {
    inTransaction_ = false;
    if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
    Exec("PRAGMA synchronous=NORMAL");
}

bool SqliteConnection::TryUseTable(const std::string& table, TableUse use) {
    return locks_->TryUseTable(table, use == TableUse::Exclusive);
}

void SqliteConnection::EndUseTable(const std::string& table, TableUse use) {
    locks_->EndUseTable(table, use == TableUse::Exclusive);
}

bool SqliteConnection::TryLockRow(const std::string& table, RowId id) {
    return locks_->TryLockRow(table, id);
}

void SqliteConnection::UnlockRow(const std::string& table, RowId id) {
    locks_->UnlockRow(table, id);
}

}  // namespace engine::storage::sqlite
