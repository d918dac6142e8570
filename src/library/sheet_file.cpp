#include "library/sheet_file.h"

#include <stdexcept>

#include "platform/spreadsheet.h"
#include "platform/spreadsheet_sheet.h"

namespace kashidashi::library {

void WriteSheetFile(const SheetTable& table, const std::string& path) {
    platform::SpreadsheetWorkbook book;
    book.sheetName = table.sheetName.empty() ? "Sheet1" : table.sheetName;
    book.rows.push_back(table.titles);
    for (const auto& row : table.rows) book.rows.push_back(row);
    book.autoFit = true;
    const int lastRow = static_cast<int>(book.rows.size());
    const int lastColumn = static_cast<int>(table.titles.size());
    using What = platform::RangeFormat::What;
    for (int column : table.textColumns)
        book.formats.push_back({{1, column + 1, lastRow, column + 1}, What::Text});
    if (lastColumn > 0)
        book.formats.push_back({{1, 1, lastRow, lastColumn}, What::BorderWeight, 2});
    try {
        platform::WriteXlsx(book, path);
    } catch (const std::exception&) {
        throw std::runtime_error("ファイル " + path + " に書き込めません。");
    }
}

}  // namespace kashidashi::library
