#include "engine/storage/sqlite/statement.h"

#include <cerrno>

#include "engine/common/error.h"

namespace engine::storage::sqlite {

namespace {

// The folder of the database file of `db`, for the errors of the storage
// itself (full, read-only); `where` when SQLite does not say.
std::string FolderOf(sqlite3* db, const std::string& where) {
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (!file || !*file) return where;
    std::string path = file;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

}  // namespace

void ThrowSqliteError(sqlite3* db, int rc, const std::string& where) {
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    // After a failed write SQLite may already have rolled back, and the
    // connection's last message is then "not an error": the result code
    // is what happened.
    if (text == sqlite3_errstr(SQLITE_OK)) text = sqlite3_errstr(rc);
    // A file that cannot be made or written says why only through the
    // system's error number. A file larger than the medium takes (EFBIG: a
    // FAT stick's 4 GiB) is a full disk to the operator too.
    int system = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_IOERR || (rc & 0xff) == SQLITE_CANTOPEN) {
        if (system == ENOSPC || system == EDQUOT || system == EFBIG) rc = SQLITE_FULL;
        if (system == EROFS || system == EACCES || system == EPERM) rc = SQLITE_READONLY;
    }
    switch (rc & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            throw EngineError::Make(err::kCorruptFile, where, text);
        case SQLITE_FULL:
            throw EngineError::Make(err::kDiskFull, FolderOf(db, where), text);
        // The file or its folder cannot be written (a read-only medium or
        // share); a table opened read-only is refused before SQLite sees it.
        case SQLITE_READONLY:
            throw EngineError::Make(err::kReadOnlyFolder, FolderOf(db, where), text);
        // The caller knows the table and index and rethrows with their names.
        case SQLITE_CONSTRAINT:
            throw EngineError::Make(err::kDuplicateKey, "", "");
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw EngineError::Make(err::kTableLocked, where);
        default:
            throw EngineError::Make(err::kIoError, where, text);
    }
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db), sql_(sql) {
    int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    // A statement SQLite will not compile (nested too deeply, too large) is
    // an SQL error of the statement, not a fault of the storage.
    if (rc == SQLITE_ERROR) throw EngineError::Make(err::kSqlError, sqlite3_errmsg(db));
    if (rc != SQLITE_OK) ThrowSqliteError(db, rc, sql);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::Bind(int position, const Value& value) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                sqlite3_bind_null(stmt_, position);
            else if constexpr (std::is_same_v<T, int64_t>)
                sqlite3_bind_int64(stmt_, position, v);
            else if constexpr (std::is_same_v<T, double>)
                sqlite3_bind_double(stmt_, position, v);
            else if constexpr (std::is_same_v<T, bool>)
                sqlite3_bind_int(stmt_, position, v ? 1 : 0);
            else if constexpr (std::is_same_v<T, Date>)
                sqlite3_bind_int64(stmt_, position, v.days);
            else if constexpr (std::is_same_v<T, DateTime>)
                sqlite3_bind_int64(stmt_, position, v.msecs);
            else
                sqlite3_bind_text(stmt_, position, v.data(), static_cast<int>(v.size()),
                                  SQLITE_TRANSIENT);
        },
        value.storage());
}

void Statement::BindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i + 1), values[i]);
}

bool Statement::Step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    ThrowSqliteError(db_, rc, sql_);
}

void Statement::Run() {
    while (Step()) {
    }
}

int64_t Statement::ColumnInteger(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

bool Statement::ColumnIsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string Statement::ColumnText(int column) const {
    auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, sqlite3_column_bytes(stmt_, column)) : std::string();
}

Value Statement::ColumnValue(int column, const ColumnType& type) const {
    if (ColumnIsNull(column)) return Value();
    switch (type.type) {
        case FieldType::Integer:
        case FieldType::Smallint:
        case FieldType::AutoInc:
            return Value(ColumnInteger(column));
        case FieldType::Float:
        case FieldType::Currency:
            return Value(sqlite3_column_double(stmt_, column));
        case FieldType::Boolean:
            return Value(ColumnInteger(column) != 0);
        case FieldType::Date:
            return Value(Date{static_cast<int32_t>(ColumnInteger(column))});
        case FieldType::DateTime:
            return Value(DateTime{ColumnInteger(column)});
        case FieldType::String:
        case FieldType::Memo:
            return Value(ColumnText(column));
    }
    return Value();
}

Statement& StatementCache::Get(const std::string& sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end())
        it = statements_.emplace(sql, std::make_unique<Statement>(db_, sql)).first;
    it->second->Reset();
    return *it->second;
}

}  // namespace engine::storage::sqlite
