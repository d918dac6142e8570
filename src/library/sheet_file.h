// A table of the librarian's windows kept as a spreadsheet file (.xlsx) of
// one sheet, written directly (no spreadsheet program needed): a row of
// column titles, then the rows as shown, each column as wide as its longest
// text, thin borders. Numbers are written as numbers, except in the columns
// named as text (pupil numbers, ISBNs), which keep their digits as shown.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace kashidashi::library {

struct SheetTable {
    std::string sheetName;  // at most 31 characters; "統計", "延滞"
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;
    std::set<int> textColumns;  // 0-based
};

// Throws std::runtime_error (plain Japanese naming the file) when the file
// cannot be written.
void WriteSheetFile(const SheetTable& table, const std::string& path);

}  // namespace kashidashi::library
