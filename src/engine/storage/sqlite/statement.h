// A prepared SQLite statement with Values bound by position, and a cache of
// them by text so that a statement the engine runs again is prepared once.
#pragma once

#include <sqlite3.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/common/error.h"
#include "engine/common/field_type.h"
#include "engine/common/value.h"
#include "engine/storage/naming_table.h"

namespace engine::storage::sqlite {

// Raises the engine error that matches the SQLite result `rc` on `db`.
// Another connection's lock (SQLITE_BUSY, SQLITE_LOCKED) is 10241 naming
// `where`; NamingTable names the table instead.
[[noreturn]] void ThrowSqliteError(sqlite3* db, int rc, const std::string& where);

class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Reset();
    void Bind(int position, const Value& value);  // positions count from 1
    void BindAll(const std::vector<Value>& values);
    bool Step();  // true while a row is there; throws on failure
    void Run();   // steps to the end
    int64_t ColumnInteger(int column) const;
    bool ColumnIsNull(int column) const;
    Value ColumnValue(int column, const ColumnType& type) const;
    std::string ColumnText(int column) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::string sql_;
};

class StatementCache {
  public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    // The statement reset and ready for binding; owned by the cache.
    Statement& Get(const std::string& sql);
    void Clear() { statements_.clear(); }

  private:
    sqlite3* db_;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
};

}  // namespace engine::storage::sqlite
