#include "opac/search_index.h"

#include <sqlite3.h>

#include <QString>
#include <map>
#include <stdexcept>

#include "data/search_fold.h"
#include "opac/index_book.h"
#include "opac/search_grams.h"
#include "opac/sqlite_statement.h"

namespace kashidashi::opac {

namespace {

// Raised whenever the index's layout or its terms change: an index of
// another version is emptied and built again.
constexpr int kIndexVersion = 2;
constexpr int kSlice = 2000;           // books read from the school's data at a time
constexpr size_t kKeptAnswers = 1000;  // recent searches kept

const char* kLayout = R"(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value);
CREATE TABLE IF NOT EXISTS books(
  id INTEGER PRIMARY KEY, work TEXT NOT NULL, shelf INTEGER, place INTEGER,
  registered INTEGER, sortkey TEXT, lendable INTEGER, body TEXT, signature INTEGER);
CREATE INDEX IF NOT EXISTS books_work ON books(work);
CREATE INDEX IF NOT EXISTS books_registered ON books(registered);
CREATE VIRTUAL TABLE IF NOT EXISTS words USING fts5(terms, tokenize='ascii', prefix='7', content='');
)";

void Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error("索引のファイルを使えません: " + text);
    }
}

sqlite3* Open(const std::string& file, bool write) {
    sqlite3* db = nullptr;
    int flags = write ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        std::string text = db ? sqlite3_errmsg(db) : "?";
        sqlite3_close(db);
        throw std::runtime_error("索引のファイル「" + file + "」を開けません: " + text);
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

int StoredVersion(sqlite3* db) {
    Statement read(db, "SELECT value FROM meta WHERE key = 'version'");
    return read.Step() ? read.Int(0) : 0;
}

void Remove(sqlite3* db, int64_t id, const std::string& body) {
    Statement words(db, "INSERT INTO words(words, rowid, terms) VALUES('delete', ?1, ?2)");
    words.Bind(1, id);
    words.Bind(2, IndexTerms(QString::fromStdString(body)));
    words.Run();
    Statement book(db, "DELETE FROM books WHERE id = ?1");
    book.Bind(1, id);
    book.Run();
}

void Add(sqlite3* db, const IndexBook& b) {
    Statement book(db,
                   "INSERT INTO books(id, work, shelf, place, registered, sortkey, lendable, body, "
                   "signature) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    book.Bind(1, b.id);
    book.Bind(2, b.work);
    book.Bind(3, int64_t{b.shelf});
    book.Bind(4, b.place);
    book.Bind(5, int64_t{b.registered});
    book.Bind(6, b.sortKey);
    book.Bind(7, int64_t{b.lendable ? 1 : 0});
    book.Bind(8, b.text);
    book.Bind(9, b.signature);
    book.Run();
    Statement words(db, "INSERT INTO words(rowid, terms) VALUES(?1, ?2)");
    words.Bind(1, b.id);
    words.Bind(2, IndexTerms(QString::fromStdString(b.text)));
    words.Run();
}

// The signatures of the index's rows with ids in [from, to].
std::map<int64_t, int64_t> StoredBetween(sqlite3* db, int64_t from, int64_t to) {
    std::map<int64_t, int64_t> rows;
    Statement read(db, "SELECT id, signature FROM books WHERE id BETWEEN ?1 AND ?2");
    read.Bind(1, from);
    read.Bind(2, to);
    while (read.Step()) rows[read.Int64(0)] = read.Int64(1);
    return rows;
}

// Takes a book out of the index (its words by the text they were made of).
void RemoveStored(sqlite3* db, int64_t id) {
    Statement read(db, "SELECT body FROM books WHERE id = ?1");
    read.Bind(1, id);
    std::string body = read.Step() ? read.Text(0) : std::string();
    read.Reset();
    Remove(db, id, body);
}

}  // namespace

class SearchIndex::Reader {
  public:
    explicit Reader(const std::string& file) : db(Open(file, false)) {}
    ~Reader() { sqlite3_close(db); }
    sqlite3* db;
};

SearchIndex::SearchIndex(std::string file) : file_(std::move(file)) {
    writer_ = Open(file_, true);
    Exec(writer_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    Exec(writer_, kLayout);
    if (StoredVersion(writer_) != kIndexVersion) {
        Exec(writer_,
             "BEGIN; DELETE FROM books; INSERT INTO words(words) VALUES('delete-all'); "
             "DELETE FROM meta; COMMIT;");
        Statement version(writer_, "INSERT INTO meta(key, value) VALUES('version', ?1)");
        version.Bind(1, int64_t{kIndexVersion});
        version.Run();
    }
}

SearchIndex::~SearchIndex() {
    readers_.clear();
    sqlite3_close(writer_);
}

RefreshCounts SearchIndex::Refresh(engine::storage::Connection& data) {
    auto book = data.DescribeTable("Book");
    if (!book) throw std::runtime_error("Book の表がありません。");
    BookColumns at(*book);
    engine::storage::ScanRequest request;
    request.table = &*book;
    request.orderColumns = {at.id};
    request.limit = kSlice;
    RefreshCounts counts;
    int64_t from = INT64_MIN;
    for (;;) {
        auto rows = data.Scan(request);  // one short read of the school's data
        bool last = rows.size() < static_cast<size_t>(kSlice);
        int64_t to = INT64_MAX;
        if (!last) {
            const auto& key = rows.back().values[static_cast<size_t>(at.id)];
            to = key.IsInteger() ? key.Integer() : static_cast<int64_t>(key.Float());
            request.after = engine::storage::KeyPosition{{key}, rows.back().id};
        }
        Exec(writer_, "BEGIN");
        try {
            auto stored = StoredBetween(writer_, from, to);
            for (const auto& row : rows) {
                auto glance = Glance(row, at);
                if (!glance) continue;
                auto it = stored.find(glance->id);
                if (it != stored.end()) {
                    bool same = it->second == glance->signature;
                    stored.erase(it);
                    if (same) continue;  // most books, most turns: nothing folded
                    RemoveStored(writer_, glance->id);
                    ++counts.changed;
                } else {
                    ++counts.added;
                }
                Add(writer_, *ReadIndexBook(row, at));
            }
            for (const auto& [id, signature] : stored) RemoveStored(writer_, id), ++counts.removed;
            Exec(writer_, "COMMIT");
        } catch (...) {
            sqlite3_exec(writer_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        if (last) break;
        from = to + 1;
    }
    Statement count(writer_, "SELECT count(*) FROM books");
    if (count.Step()) counts.books = count.Int64(0);
    if (counts.added + counts.changed + counts.removed > 0) {
        std::lock_guard lock(answersMutex_);
        answers_.clear();
    }
    return counts;
}

std::unique_ptr<SearchIndex::Reader> SearchIndex::TakeReader() const {
    {
        std::lock_guard lock(readersMutex_);
        if (!readers_.empty()) {
            auto reader = std::move(readers_.back());
            readers_.pop_back();
            return reader;
        }
    }
    return std::make_unique<Reader>(file_);
}

void SearchIndex::GiveBack(std::unique_ptr<Reader> reader) const {
    std::lock_guard lock(readersMutex_);
    readers_.push_back(std::move(reader));
}

namespace {

// The WHERE clause of a search's filters; the values bound from ?10 on.
std::string Filters(const SearchQuery& query) {
    std::string where;
    if (query.shelf >= 0) where += " AND b.shelf = ?10";
    if (query.place >= 0) where += " AND b.place = ?11";
    if (query.lendableOnly) where += " AND b.lendable = 1";
    return where;
}

void BindFilters(Statement& statement, const SearchQuery& query) {
    if (query.shelf >= 0) statement.Bind(10, int64_t{query.shelf});
    if (query.place >= 0) statement.Bind(11, query.place);
}

std::vector<int64_t> Copies(sqlite3* db, const std::string& work) {
    std::vector<int64_t> ids;
    Statement read(db, "SELECT id FROM books WHERE work = ?1 ORDER BY id");
    read.Bind(1, work);
    while (read.Step()) ids.push_back(read.Int64(0));
    return ids;
}

}  // namespace

SearchResult SearchIndex::Search(const SearchQuery& query) const {
    std::string key = query.words + '\x1f' + std::to_string(query.shelf) + '\x1f' +
                      std::to_string(query.place) + '\x1f' + (query.lendableOnly ? "1" : "0") +
                      '\x1f' + (query.order == SearchQuery::Order::Title ? "t" : "n") + '\x1f' +
                      std::to_string(query.page) + '\x1f' + std::to_string(query.perPage);
    {
        std::lock_guard lock(answersMutex_);
        auto it = answers_.find(key);
        if (it != answers_.end()) return it->second;
    }
    SearchResult result = Find(query);
    std::lock_guard lock(answersMutex_);
    if (answers_.size() >= kKeptAnswers) answers_.clear();
    answers_[key] = result;
    return result;
}

SearchResult SearchIndex::Find(const SearchQuery& query) const {
    SearchResult result;
    std::string match = MatchQuery(SearchWords(QString::fromStdString(query.words)));
    bool filtered = query.shelf >= 0 || query.place >= 0;
    if (match.empty() && !filtered) return result;
    result.searched = true;
    auto reader = TakeReader();
    std::string from = match.empty() ? " FROM books b WHERE 1"
                                     : " FROM words JOIN books b ON b.id = words.rowid "
                                       "WHERE words MATCH ?1";
    std::string where = from + Filters(query);
    Statement count(reader->db, "SELECT count(DISTINCT b.work)" + where);
    if (!match.empty()) count.Bind(1, match);
    BindFilters(count, query);
    if (count.Step()) result.total = count.Int64(0);
    std::string order = query.order == SearchQuery::Order::Newest
                            ? " ORDER BY max(b.registered) DESC, min(b.id)"
                            : " ORDER BY min(b.sortkey), min(b.id)";
    Statement page(reader->db,
                   "SELECT b.work" + where + " GROUP BY b.work" + order + " LIMIT ?2 OFFSET ?3");
    if (!match.empty()) page.Bind(1, match);
    page.Bind(2, int64_t{query.perPage});
    page.Bind(3, int64_t{query.page - 1} * query.perPage);
    BindFilters(page, query);
    std::vector<std::string> works;
    while (page.Step()) works.push_back(page.Text(0));
    page.Reset();
    for (auto& work : works) result.hits.push_back({work, Copies(reader->db, work)});
    GiveBack(std::move(reader));
    return result;
}

std::vector<int64_t> SearchIndex::CopiesOf(int64_t bookId) const {
    auto reader = TakeReader();
    std::vector<int64_t> ids;
    Statement work(reader->db, "SELECT work FROM books WHERE id = ?1");
    work.Bind(1, bookId);
    if (work.Step()) ids = Copies(reader->db, work.Text(0));
    work.Reset();
    GiveBack(std::move(reader));
    return ids;
}

std::vector<SearchHit> SearchIndex::NewWorks(int32_t sinceDay, int limit,
                                             const std::vector<int>& shelves) const {
    std::string only;
    for (int shelf : shelves) only += (only.empty() ? "" : ", ") + std::to_string(shelf);
    auto reader = TakeReader();
    std::vector<std::string> works;
    {
        Statement read(reader->db, "SELECT work FROM books WHERE registered >= ?1" +
                                       (only.empty() ? "" : " AND shelf IN (" + only + ")") +
                                       " GROUP BY work ORDER BY max(registered) DESC, min(id) "
                                       "LIMIT ?2");
        read.Bind(1, int64_t{sinceDay});
        read.Bind(2, int64_t{limit});
        while (read.Step()) works.push_back(read.Text(0));
    }
    std::vector<SearchHit> hits;
    for (auto& work : works) hits.push_back({work, Copies(reader->db, work)});
    GiveBack(std::move(reader));
    return hits;
}

std::map<int64_t, SearchIndex::WorkShelf> SearchIndex::WorksOf(
    const std::vector<int64_t>& ids) const {
    auto reader = TakeReader();
    std::map<int64_t, WorkShelf> works;
    {
        Statement read(reader->db, "SELECT work, shelf FROM books WHERE id = ?1");
        for (int64_t id : ids) {
            if (works.count(id)) continue;
            read.Bind(1, id);
            if (read.Step()) works[id] = WorkShelf{read.Text(0), read.Int(1)};
            read.Reset();
        }
    }
    GiveBack(std::move(reader));
    return works;
}

}  // namespace kashidashi::opac
