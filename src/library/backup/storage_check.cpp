#include "library/backup/storage_check.h"

#include <sqlite3.h>

#include <filesystem>

namespace kashidashi::library {
namespace {

constexpr int kMostProblems = 100;  // integrity_check's own limit on lines

std::string Text(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

std::vector<std::string> DatabaseFileProblems(const std::string& file) {
    if (!std::filesystem::is_regular_file(file))
        return {"データベースファイルがありません: " + file};
    std::vector<std::string> problems;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        std::string sql = "PRAGMA integrity_check(" + std::to_string(kMostProblems) + ")";
        rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    }
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW && Text(statement, 0) != "ok") problems.push_back(Text(statement, 0));
    }
    if (rc != SQLITE_DONE)
        problems.push_back(std::string("読めません: ") + (db ? sqlite3_errmsg(db) : "open failed"));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return problems;
}

}  // namespace kashidashi::library
