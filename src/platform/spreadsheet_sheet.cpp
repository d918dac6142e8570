// The workbook kept in memory: ranges, cell styles, CSV text, colours.
#include "platform/spreadsheet_sheet.h"

#include <algorithm>
#include <cctype>
#include <tuple>

#include "platform/spreadsheet.h"
#include "platform/utf8.h"

namespace platform {
namespace {

constexpr int kMostRows = 1'048'576;
constexpr int kMostColumns = 16'384;

// "AB12" -> row 12, column 28; SpreadsheetError when it is no cell.
std::pair<int, int> ParseCell(std::string_view cell) {
    std::size_t at = 0;
    long column = 0, row = 0;
    for (; at < cell.size() && std::isalpha(static_cast<unsigned char>(cell[at])) && at < 3; ++at)
        column = column * 26 + (std::toupper(static_cast<unsigned char>(cell[at])) - 'A' + 1);
    const std::size_t digits = at;
    for (; at < cell.size() && std::isdigit(static_cast<unsigned char>(cell[at])) && at < 10; ++at)
        row = row * 10 + (cell[at] - '0');
    if (digits == 0 || at == digits || at != cell.size() || row < 1 || row > kMostRows ||
        column > kMostColumns)
        throw SpreadsheetError("not a cell: " + std::string(cell));
    return {static_cast<int>(row), static_cast<int>(column)};
}

}  // namespace

CellRange ParseRange(std::string_view address) {
    const std::size_t colon = address.find(':');
    const auto [row1, column1] = ParseCell(address.substr(0, colon));
    const auto [row2, column2] =
        colon == std::string_view::npos ? ParseCell(address) : ParseCell(address.substr(colon + 1));
    return {std::min(row1, row2), std::min(column1, column2), std::max(row1, row2),
            std::max(column1, column2)};
}

bool CellStyle::operator<(const CellStyle& other) const {
    return std::tie(text, borderWeight, borderColour, fill) <
           std::tie(other.text, other.borderWeight, other.borderColour, other.fill);
}

const std::string* SpreadsheetWorkbook::Text(int row, int column) const {
    if (row < 1 || row > static_cast<int>(rows.size())) return nullptr;
    const auto& cells = rows[row - 1];
    if (column < 1 || column > static_cast<int>(cells.size())) return nullptr;
    return cells[column - 1].empty() ? nullptr : &cells[column - 1];
}

CellStyle SpreadsheetWorkbook::StyleAt(int row, int column) const {
    CellStyle style;
    for (const RangeFormat& format : formats) {
        if (!format.range.Holds(row, column)) continue;
        switch (format.what) {
            case RangeFormat::What::Text:
                style.text = format.weight != 0;
                break;
            case RangeFormat::What::BorderWeight:
                style.borderWeight = format.weight;
                break;
            case RangeFormat::What::BorderColour:
                style.borderColour = format.colour;
                break;
            case RangeFormat::What::Fill:
                style.fill = format.colour;
                break;
        }
    }
    return style;
}

int SpreadsheetWorkbook::RowCount() const {
    int count = static_cast<int>(rows.size());
    for (const RangeFormat& format : formats) count = std::max(count, format.range.lastRow);
    return count;
}

int SpreadsheetWorkbook::ColumnCount() const {
    int count = 0;
    for (const auto& cells : rows) count = std::max(count, static_cast<int>(cells.size()));
    for (const RangeFormat& format : formats) count = std::max(count, format.range.lastColumn);
    return count;
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row(1);
    bool quoted = false, lineOpen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        lineOpen = true;
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            row.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            row.emplace_back();
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.push_back(std::move(row));
            row.assign(1, std::string());
            lineOpen = false;
        } else {
            row.back() += c;
        }
    }
    if (lineOpen) rows.push_back(std::move(row));
    return rows;
}

std::string DefaultSheetName(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    std::string_view stem(fileName);
    if (dot != std::string::npos && dot > 0) stem = stem.substr(0, dot);
    std::string name;
    std::size_t at = 0;
    for (int count = 0; at < stem.size() && count < 31; ++count) {
        const char32_t c = utf8::Next(stem, at);
        utf8::Append(
            name, std::u32string_view(U"[]:*?/\\").find(c) == std::u32string_view::npos ? c : U'_');
    }
    return name.empty() ? "Sheet1" : name;
}

std::optional<uint32_t> RgbOf(uint32_t colour) {
    if (colour & 0xFF000000u) return std::nullopt;
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace platform
