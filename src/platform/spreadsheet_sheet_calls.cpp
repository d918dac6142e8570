// SpreadsheetApplication: the calls on the active sheet.
#include <algorithm>

#include "platform/spreadsheet.h"
#include "platform/spreadsheet_sheet.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr int kMostSheetNameChars = 31;

int CharCount(std::string_view text) {
    int count = 0;
    for (std::size_t at = 0; at < text.size(); ++count) utf8::Next(text, at);
    return count;
}

void CheckSheetName(const std::string& name) {
    const bool bad = name.empty() || CharCount(name) > kMostSheetNameChars ||
                     name.find_first_of("[]:*?/\\") != std::string::npos || name.front() == '\'' ||
                     name.back() == '\'';
    if (bad) throw SpreadsheetError("not a sheet name: " + name);
}

RangeFormat FormatOf(const std::string& address, RangeFormat::What what) {
    RangeFormat format;
    format.range = ParseRange(address);
    format.what = what;
    return format;
}

}  // namespace

std::string SpreadsheetApplication::RangeText(const std::string& address) const {
    const CellRange range = ParseRange(address);
    const std::string* text = Active().Text(range.firstRow, range.firstColumn);
    return text ? *text : std::string();
}

void SpreadsheetApplication::SetNumberFormatLocal(const std::string& address,
                                                  const std::string& format) {
    if (format != "@" && format != "G/標準") throw SpreadsheetError("format " + format);
    RangeFormat text = FormatOf(address, RangeFormat::What::Text);
    text.weight = format == "@";
    Active().formats.push_back(text);
}

void SpreadsheetApplication::SetBordersWeight(const std::string& address, int weight) {
    if (weight != 1 && weight != 2 && weight != -4138 && weight != 4)
        throw SpreadsheetError("border weight " + std::to_string(weight));
    RangeFormat borders = FormatOf(address, RangeFormat::What::BorderWeight);
    borders.weight = weight;
    Active().formats.push_back(borders);
}

void SpreadsheetApplication::SetBordersColor(const std::string& address, uint32_t colour) {
    RangeFormat borders = FormatOf(address, RangeFormat::What::BorderColour);
    borders.colour = RgbOf(colour);
    Active().formats.push_back(borders);
}

void SpreadsheetApplication::SetInteriorColor(const std::string& address, uint32_t colour) {
    RangeFormat fill = FormatOf(address, RangeFormat::What::Fill);
    fill.colour = RgbOf(colour);
    Active().formats.push_back(fill);
}

void SpreadsheetApplication::SetFontSize(double size) {
    if (size < 1 || size > 409) throw SpreadsheetError("font size");
    Active().font.size = size;
}

void SpreadsheetApplication::SetFontName(const std::string& name) {
    Active().font.name = name;
}

void SpreadsheetApplication::SetFontColor(uint32_t colour) {
    Active().font.colour = RgbOf(colour);
}

void SpreadsheetApplication::SetFontBold(bool on) {
    Active().font.bold = on;
}

void SpreadsheetApplication::SetFontItalic(bool on) {
    Active().font.italic = on;
}

void SpreadsheetApplication::SetFontStrikethrough(bool on) {
    Active().font.strikeout = on;
}

std::string SpreadsheetApplication::SheetName() const {
    return Active().sheetName;
}

void SpreadsheetApplication::SetSheetName(const std::string& name) {
    SpreadsheetWorkbook& workbook = Active();
    CheckSheetName(name);
    workbook.sheetName = name;
}

void SpreadsheetApplication::SetCenterHeader(const std::string& text) {
    Active().centerHeader = text;
}

void SpreadsheetApplication::SetOrientation(int orientation) {
    if (orientation != 1 && orientation != 2) throw SpreadsheetError("orientation");
    Active().landscape = orientation == 2;
}

void SpreadsheetApplication::AutoFitColumns() {
    Active().autoFit = true;
}

void SpreadsheetApplication::SelectCell(int row, int column) {
    SpreadsheetWorkbook& workbook = Active();
    if (row < 1 || column < 1) throw SpreadsheetError("no such cell");
    workbook.selectedRow = row;
    workbook.selectedColumn = column;
}

}  // namespace platform
