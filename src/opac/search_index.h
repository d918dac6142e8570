// The catalogue's word index: a SQLite file of the program's own (not the
// school's data, which the catalogue only reads), with one row per book
// copy and its words as pair terms (search_grams.h) in an FTS5 table.
//
// Refresh walks the Book table a slice at a time (each slice one short read,
// so a desk never waits long for the catalogue) and writes what changed:
// new books, edited ones, removed ones. The program runs it every half
// minute, so a registration or an edit is found within a minute. Discarded
// (haikiF) and deleted (sakujoF) books are left out.
//
// A search gives works, not copies: copies with one ISBN are one work, and
// copies without one are one work when title, first author and publisher
// fold alike. The index may be deleted at any time; it is built again.
//
// Searches run on any thread, each on a read connection of its own; one
// thread refreshes (the file is in WAL mode, so neither waits for the other).
// The answers of recent searches are kept until the next refresh that
// changes the index.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/storage/connection.h"

struct sqlite3;

namespace kashidashi::opac {

// The shelf a book stands on by its class: 0-9 the NDC main classes, 11
// picture books (絵本), 12 foreign books (洋書); -1 none. The main class the
// catalogue wrote (yobi1_ID) comes first, then the hundreds of NDC_ID.
inline constexpr int kPictureBooks = 11;
inline constexpr int kForeignBooks = 12;

struct SearchQuery {
    std::string words;          // as typed
    int shelf = -1;             // -1: every shelf
    int64_t place = -1;         // HKN_ID; -1: every place
    bool lendableOnly = false;  // 借りられる本だけ
    enum class Order { Newest, Title } order = Order::Newest;
    int page = 1;  // from 1
    int perPage = 20;
};

struct SearchHit {
    std::string work;
    std::vector<int64_t> copies;  // BOOK_IDs, ascending
};

struct SearchResult {
    int64_t total = 0;  // works found
    std::vector<SearchHit> hits;
    bool searched = false;  // false when there was nothing to search for
};

struct RefreshCounts {
    int64_t books = 0;  // books in the index afterwards
    int64_t added = 0, changed = 0, removed = 0;
};

class SearchIndex {
  public:
    // Opens (or creates) the index file; throws std::runtime_error when it
    // cannot be written. An index of an older layout is emptied.
    explicit SearchIndex(std::string file);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Brings the index up to the Book table of `data`. One thread at a time.
    RefreshCounts Refresh(engine::storage::Connection& data);

    SearchResult Search(const SearchQuery& query) const;

    // The copies of the work of a book (the book itself first when indexed).
    std::vector<int64_t> CopiesOf(int64_t bookId) const;

    // The works registered on or after `sinceDay` (engine day number),
    // newest first, at most `limit`; only those on `shelves` unless empty.
    std::vector<SearchHit> NewWorks(int32_t sinceDay, int limit,
                                    const std::vector<int>& shelves = {}) const;

    struct WorkShelf {
        std::string work;
        int shelf = -1;
    };
    // The work and shelf of each of the books the index holds.
    std::map<int64_t, WorkShelf> WorksOf(const std::vector<int64_t>& ids) const;

  private:
    class Reader;
    std::unique_ptr<Reader> TakeReader() const;
    void GiveBack(std::unique_ptr<Reader> reader) const;

    SearchResult Find(const SearchQuery& query) const;

    std::string file_;
    sqlite3* writer_ = nullptr;
    // The answers of recent searches: the index changes only at a refresh,
    // which forgets them all when it changed anything. Pupils search the same
    // few words; the states they see are read live all the same.
    mutable std::mutex answersMutex_;
    mutable std::map<std::string, SearchResult> answers_;
    mutable std::mutex readersMutex_;
    mutable std::vector<std::unique_ptr<Reader>> readers_;
};

}  // namespace kashidashi::opac
