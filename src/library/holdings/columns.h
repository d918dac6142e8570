// The columns the librarian keeps of a book and a user, with the names the
// operator reads, and a typed text turned into a column's value.
//
// A text column holds so many code page 932 bytes (a Japanese character
// takes two): a longer text is refused, never cut, so that what is stored
// is what the operator typed. Numbers and dates read as import-users reads
// them (full-width digits count; an empty text is no value).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

// A change the rules refuse; what() says why, in plain Japanese.
class Refused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ColumnLabel {
    const char* column;
    const char* label;
};

// Book's columns a librarian edits, in the order the window shows them.
const std::vector<ColumnLabel>& BookColumns();
// Name's columns a librarian edits (NAME_ID first).
const std::vector<ColumnLabel>& UserColumns();
// The label of a column of either list ("書名"), or the column's own name.
std::string LabelOf(const std::string& column);

// The value of `text` for the column of `table` (its layout read from the
// connection). Throws Refused naming the column's label and the reason.
engine::Value ColumnValue(const engine::storage::TableSchema& table, const std::string& column,
                          const std::string& text);
// The layout of a data table; EngineError 11010 when it is missing.
engine::storage::TableSchema LayoutOf(engine::storage::Connection& connection,
                                      const std::string& table);
// A value as the operator reads it ("" for none, dates yyyy/mm/dd, a
// whole number without ".0").
std::string DisplayText(const engine::Value& value);

}  // namespace kashidashi::library::holdings
