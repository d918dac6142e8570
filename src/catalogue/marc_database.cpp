// WriteMarcDatabase: the MARC database filled in one transaction.
#include <sqlite3.h>

#include <filesystem>

#include "catalogue/marc_import.h"
#include "platform/paths.h"

namespace kashidashi::catalogue {
namespace {

constexpr const char* kColumns[] = {
    "isbn",       "title",     "subtitle", "call_suffix", "authors",    "publisher", "issue_date",
    "page_count", "book_size", "series",   "list_price",  "title_kana", "ndc",       "author_kana"};

void Check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw MarcError(std::string("MARC database: ") + sqlite3_errmsg(db));
}

void Exec(sqlite3* db, const char* sql) {
    Check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

void Run(sqlite3* db, const char* sql, const std::vector<std::string>& values) {
    sqlite3_stmt* statement = nullptr;
    Check(db, sqlite3_prepare_v2(db, sql, -1, &statement, nullptr));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owner(statement, sqlite3_finalize);
    for (std::size_t i = 0; i < values.size(); ++i)
        Check(db, sqlite3_bind_text(statement, static_cast<int>(i) + 1, values[i].c_str(), -1,
                                    SQLITE_TRANSIENT));
    Check(db, sqlite3_step(statement));
}

std::string InsertStatement() {
    std::string names, marks;
    for (const char* column : kColumns) {
        names += std::string(names.empty() ? "" : ", ") + column;
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO marc_book (record_no, " + names + ") VALUES (" +
           "(SELECT COALESCE(MAX(record_no), 0) + 1 FROM marc_book), " + marks + ")";
}

void Store(sqlite3* db, const std::vector<MarcValues>& entries) {
    const bool fresh =
        sqlite3_exec(db, "SELECT 1 FROM marc_book LIMIT 0", nullptr, nullptr, nullptr) != SQLITE_OK;
    if (fresh) Exec(db, MarcSchema());
    const std::string insert = InsertStatement();
    for (const MarcValues& e : entries)
        Run(db, "DELETE FROM marc_book WHERE isbn = ?", {e.at("isbn")});
    for (const MarcValues& e : entries) {
        std::vector<std::string> values;
        for (const char* column : kColumns) values.push_back(e.count(column) ? e.at(column) : "");
        Run(db, insert.c_str(), values);
    }
}

}  // namespace

void WriteMarcDatabase(const std::string& path, const std::vector<MarcValues>& entries) {
    const std::filesystem::path file = platform::MapToLocalPath(path);
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> owner(db, sqlite3_close);
    Check(db, rc);
    Exec(db, "PRAGMA synchronous=FULL; BEGIN IMMEDIATE");
    try {
        Store(db, entries);
        Exec(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace kashidashi::catalogue
