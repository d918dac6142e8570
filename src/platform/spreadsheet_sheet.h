// The workbook of SpreadsheetApplication as it is kept in memory: the texts of
// its one sheet, the formats set on ranges in the order they were set, and the
// sheet-wide settings; and the pieces that read and write it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Rows and columns 1-based, inclusive, first <= last.
struct CellRange {
    int firstRow = 1, firstColumn = 1, lastRow = 1, lastColumn = 1;
    bool Holds(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
};

// "B3" or "A1:C10" (either corner first); SpreadsheetError when it is none.
CellRange ParseRange(std::string_view address);

// What one cell looks like; unset parts are the application's defaults.
struct CellStyle {
    bool text = false;                     // number format "@"
    int borderWeight = 0;                  // 0: no borders
    std::optional<uint32_t> borderColour;  // 0xRRGGBB
    std::optional<uint32_t> fill;          // 0xRRGGBB
    bool operator<(const CellStyle& other) const;
};

struct RangeFormat {
    CellRange range;
    enum class What { Text, BorderWeight, BorderColour, Fill } what = What::Text;
    int weight = 0;
    std::optional<uint32_t> colour;  // 0xRRGGBB; empty: automatic
};

struct SheetFont {
    std::string name;                // empty: the default
    double size = 0;                 // 0: the default
    std::optional<uint32_t> colour;  // 0xRRGGBB; empty: automatic
    bool bold = false, italic = false, strikeout = false;
};

struct SpreadsheetWorkbook {
    std::string name;        // "Book1", "TMP$$$.CSV"
    std::string sourcePath;  // the file it was opened from; "" for an added one
    std::string sheetName;
    std::vector<std::vector<std::string>> rows;  // texts, row by row
    std::vector<RangeFormat> formats;
    SheetFont font;
    bool landscape = false;
    std::string centerHeader;
    bool autoFit = false;
    int selectedRow = 1, selectedColumn = 1;

    const std::string* Text(int row, int column) const;  // nullptr: empty
    CellStyle StyleAt(int row, int column) const;
    int RowCount() const;     // the last row with text or a format
    int ColumnCount() const;  // the last column with text or a format
};

// Rows of CSV text (UTF-8).
std::vector<std::vector<std::string>> ParseCsv(std::string_view text);
// The sheet's name for a file name: without extension, characters a sheet
// name cannot hold as "_", at most 31 characters.
std::string DefaultSheetName(const std::string& fileName);
// 0x00BBGGRR -> 0xRRGGBB; a system colour code -> empty (automatic).
std::optional<uint32_t> RgbOf(uint32_t colour);
// Writes the workbook as .xlsx; SpreadsheetError when it cannot.
void WriteXlsx(const SpreadsheetWorkbook& workbook, const std::string& path);
// The .xlsx path beside the source file that no desktop application holds open.
std::string XlsxPathBeside(const std::string& sourcePath);

}  // namespace platform
