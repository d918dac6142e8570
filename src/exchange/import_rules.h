// The checks of a CSV import, before anything is written: the header names
// columns of the table, the key column is there and filled in every line,
// every field converts to its column, and no key appears twice.
//
// The header's names match the table's columns without regard to case; the
// columns may come in any order and any subset, but the key column is
// required. Every line that fails a check is rejected with its line number
// and reason; a bad header rejects line 1 and no other line is checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/schema.h"
#include "exchange/csv_file.h"
#include "exchange/table_cells.h"

namespace kashidashi::exchange {

struct ImportTarget {
    std::string table;                     // "Name", "Book"
    std::string keyColumn;                 // "NAME_ID", "BOOK_ID"
    Cells newRowDefaults;                  // set on a new row before the file's values
    std::optional<int64_t> lowestKey;      // for a number key
    std::vector<std::string> isbnColumns;  // checked and stored as ISBNs
};

// Name rows keyed by NAME_ID; a new user has mihenkyakuSU 0.
ImportTarget UsersTarget();
// Book rows keyed by BOOK_ID (1 or more); a new book has every flag False.
// ISBN: 12 digits, or 13 digits with a valid check digit, stored as the
// first twelve; hyphens and blanks between the digits are ignored.
ImportTarget BooksTarget();

struct ImportRow {
    int line = 0;
    engine::Value key;
    Cells cells;  // the file's columns, by the table's spelling of their names
};

struct Rejection {
    int line = 0;
    std::string reason;
};

struct ImportPlan {
    std::vector<ImportRow> rows;
    std::vector<Rejection> rejections;  // in line order
};

ImportPlan PlanImport(const ImportTarget& target, const engine::storage::TableSchema& table,
                      const CsvText& csv);

}  // namespace kashidashi::exchange
