#include "opac/sqlite_statement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace kashidashi::opac {

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
    Check(sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement_, nullptr));
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::Check(int code) const {
    if (code != SQLITE_OK)
        throw std::runtime_error(std::string("索引の読み書きに失敗しました: ") +
                                 sqlite3_errmsg(db_));
}

void Statement::Bind(int index, int64_t value) {
    Check(sqlite3_bind_int64(statement_, index, value));
}

void Statement::Bind(int index, const std::string& value) {
    Check(sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                            SQLITE_TRANSIENT));
}

bool Statement::Step() {
    int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    Check(code);
    return false;
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(statement_);
}

int Statement::Int(int column) const {
    return sqlite3_column_int(statement_, column);
}
int64_t Statement::Int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}
std::string Statement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string();
}

}  // namespace kashidashi::opac
