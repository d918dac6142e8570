#include "catalogue/marc_source.h"

#include <sqlite3.h>

#include "platform/paths.h"

namespace kashidashi::catalogue {

const char* MarcSchema() {
    return "CREATE TABLE marc_book ("
           " record_no INTEGER NOT NULL, isbn TEXT NOT NULL,"
           " title TEXT, subtitle TEXT, call_suffix TEXT, authors TEXT, publisher TEXT,"
           " issue_date TEXT, page_count TEXT, book_size TEXT, series TEXT, list_price TEXT,"
           " title_kana TEXT, ndc TEXT, author_kana TEXT);"
           "CREATE INDEX marc_book_isbn ON marc_book (isbn);";
}

TSearchMARC::TSearchMARC() = default;

TSearchMARC::~TSearchMARC() {
    Close();
}

void TSearchMARC::Open() {
    Close();
    const std::string path = platform::MapToLocalPath(DataPath);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_exec(db_, "SELECT isbn FROM marc_book LIMIT 0", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        Close();
        throw MarcError("MARC database " + path + ": " + reason);
    }
}

void TSearchMARC::Close() {
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

void TSearchMARC::Search() {
    hits_ = 0;
    errorMessage_.clear();
    first_.clear();
    sqlite3_stmt* statement = nullptr;
    int rc =
        db_ ? sqlite3_prepare_v2(db_, "SELECT * FROM marc_book WHERE isbn = ?1 ORDER BY record_no",
                                 -1, &statement, nullptr)
            : SQLITE_MISUSE;
    if (rc == SQLITE_OK) rc = sqlite3_bind_text(statement, 1, Isbn.c_str(), -1, SQLITE_TRANSIENT);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc != SQLITE_ROW) break;
        if (++hits_ > 1) continue;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            first_[sqlite3_column_name(statement, i)] =
                text ? reinterpret_cast<const char*>(text) : "";
        }
    }
    if (rc != SQLITE_DONE)
        errorMessage_ = db_ ? sqlite3_errmsg(db_) : "データベースが開かれていません。";
    sqlite3_finalize(statement);
}

std::string TSearchMARC::Value(const char* column) const {
    const auto found = first_.find(column);
    return found == first_.end() ? std::string() : found->second;
}

}  // namespace kashidashi::catalogue
