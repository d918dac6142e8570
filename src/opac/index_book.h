// One Book row as the word index keeps it (search_index.h): the work it
// belongs to, its shelf, place, registration day, order key, whether it can
// be lent now, and the text whose words are indexed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::opac {

struct IndexBook {
    int64_t id = 0;
    std::string work;
    int shelf = -1;
    int64_t place = -1;
    int32_t registered = 0;  // engine day number; 0 when unknown
    std::string sortKey;     // the folded reading, or else the folded title
    bool lendable = false;   // neither on loan nor 禁帯出
    std::string text;        // the indexed columns, one per line
    int64_t signature = 0;   // of the stored values (Glance)
};

// Column positions of Book's columns in a scanned row.
struct BookColumns {
    explicit BookColumns(const engine::storage::TableSchema& book);
    int id, registered, series, title, subtitle, authors[4], publisher, ndc, place, lent,
        notLendable, discarded, deleted, titleReading, authorReading, isbn, mainClass;
};

// A book's number and a signature of every stored value the index keeps
// anything of, without folding a word: a refresh compares it with the
// index's before it reads a book whole. Nothing for a book the catalogue
// does not show (discarded, deleted).
struct BookGlance {
    int64_t id = 0;
    int64_t signature = 0;
};
std::optional<BookGlance> Glance(const engine::storage::Row& row, const BookColumns& at);

// Nothing for a book the catalogue does not show (discarded, deleted).
std::optional<IndexBook> ReadIndexBook(const engine::storage::Row& row, const BookColumns& at);

// The shelf of a book (search_index.h) from its main class and NDC_ID.
int ShelfOf(std::optional<int64_t> mainClass, std::optional<double> ndc);

}  // namespace kashidashi::opac
