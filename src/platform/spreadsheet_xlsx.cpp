// Writing a workbook kept in memory as a real .xlsx file (libxlsxwriter).
#include <sys/stat.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/cp932.h"
#include "platform/spreadsheet.h"
#include "platform/spreadsheet_sheet.h"

namespace platform {
namespace {

constexpr double kDefaultFontSize = 11;

lxw_color_t LxwColour(uint32_t rgb) {
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

uint8_t BorderStyle(int weight) {
    switch (weight) {
        case 1:
            return LXW_BORDER_HAIR;
        case -4138:
            return LXW_BORDER_MEDIUM;
        case 4:
            return LXW_BORDER_THICK;
        default:
            return LXW_BORDER_THIN;
    }
}

// One format per cell style, every one with the sheet's font.
class Formats {
  public:
    Formats(lxw_workbook* book, const SheetFont& font) : book_(book), font_(font) {}
    lxw_format* For(const CellStyle& style) {
        lxw_format*& format = made_[style];
        if (format == nullptr) format = Make(style);
        return format;
    }

  private:
    lxw_format* Make(const CellStyle& style) const {
        lxw_format* format = workbook_add_format(book_);
        if (!font_.name.empty()) format_set_font_name(format, font_.name.c_str());
        if (font_.size > 0) format_set_font_size(format, font_.size);
        if (font_.colour) format_set_font_color(format, LxwColour(*font_.colour));
        if (font_.bold) format_set_bold(format);
        if (font_.italic) format_set_italic(format);
        if (font_.strikeout) format_set_font_strikeout(format);
        if (style.text) format_set_num_format(format, "@");
        if (style.borderWeight != 0) format_set_border(format, BorderStyle(style.borderWeight));
        if (style.borderWeight != 0 && style.borderColour)
            format_set_border_color(format, LxwColour(*style.borderColour));
        if (style.fill) format_set_pattern(format, LXW_PATTERN_SOLID);
        if (style.fill) format_set_bg_color(format, LxwColour(*style.fill));
        return format;
    }

    lxw_workbook* book_;
    const SheetFont& font_;
    std::map<CellStyle, lxw_format*> made_;
};

// A plain decimal number without leading zeros, of at most 15 digits.
bool IsPlainNumber(const std::string& text) {
    std::size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    const std::size_t whole = at - start;
    if (whole == 0 || (whole > 1 && text[start] == '0')) return false;
    if (at < text.size() && text[at] == '.' && at + 1 < text.size()) {
        while (++at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        }
    }
    return at == text.size() && at - start <= 16;
}

void WriteCell(lxw_worksheet* sheet, int row, int column, const std::string* text,
               const CellStyle& style, Formats& formats) {
    const lxw_row_t r = static_cast<lxw_row_t>(row - 1);
    const lxw_col_t c = static_cast<lxw_col_t>(column - 1);
    lxw_format* format = formats.For(style);
    if (text == nullptr) {
        worksheet_write_blank(sheet, r, c, format);
    } else if (!style.text && IsPlainNumber(*text)) {
        worksheet_write_number(sheet, r, c, std::strtod(text->c_str(), nullptr), format);
    } else {
        worksheet_write_string(sheet, r, c, text->c_str(), format);  // never a formula
    }
}

void WriteCells(lxw_worksheet* sheet, const SpreadsheetWorkbook& workbook, Formats& formats) {
    const int rows = workbook.RowCount(), columns = workbook.ColumnCount();
    for (int row = 1; row <= rows; ++row)
        for (int column = 1; column <= columns; ++column)
            WriteCell(sheet, row, column, workbook.Text(row, column), workbook.StyleAt(row, column),
                      formats);
}

// Each column as wide as its longest text (Japanese characters count two).
void FitColumns(lxw_worksheet* sheet, const SpreadsheetWorkbook& workbook) {
    const double scale = (workbook.font.size > 0 ? workbook.font.size : kDefaultFontSize) /
                         kDefaultFontSize * (workbook.font.bold ? 1.1 : 1.0);
    for (int column = 1; column <= workbook.ColumnCount(); ++column) {
        std::size_t widest = 0;
        for (int row = 1; row <= static_cast<int>(workbook.rows.size()); ++row)
            if (const std::string* text = workbook.Text(row, column))
                widest = std::max(widest, Cp932ByteLength(*text));
        if (widest == 0) continue;  // an empty column keeps its width
        const auto c = static_cast<lxw_col_t>(column - 1);
        worksheet_set_column(sheet, c, c, std::min(255.0, widest * scale + 1.5), nullptr);
    }
}

void SetPage(lxw_worksheet* sheet, const SpreadsheetWorkbook& workbook) {
    workbook.landscape ? worksheet_set_landscape(sheet) : worksheet_set_portrait(sheet);
    if (!workbook.centerHeader.empty())
        worksheet_set_header(sheet, ("&C" + workbook.centerHeader).c_str());
    if (workbook.autoFit) FitColumns(sheet, workbook);
    const auto row = static_cast<lxw_row_t>(workbook.selectedRow - 1);
    const auto column = static_cast<lxw_col_t>(workbook.selectedColumn - 1);
    worksheet_set_selection(sheet, row, column, row, column);
}

}  // namespace

void WriteXlsx(const SpreadsheetWorkbook& workbook, const std::string& path) {
    lxw_workbook* book = workbook_new(path.c_str());
    if (book == nullptr) throw SpreadsheetError("cannot write " + path);
    lxw_worksheet* sheet = workbook_add_worksheet(book, workbook.sheetName.c_str());
    if (sheet != nullptr) {
        Formats formats(book, workbook.font);
        WriteCells(sheet, workbook, formats);
        SetPage(sheet, workbook);
    }
    const lxw_error closed = workbook_close(book);
    if (sheet == nullptr || closed != LXW_NO_ERROR)
        throw SpreadsheetError("cannot write " + path + ": " + lxw_strerror(closed));
}

std::string XlsxPathBeside(const std::string& sourcePath) {
    const std::size_t slash = sourcePath.find_last_of('/');
    const std::size_t dot = sourcePath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string stem = hasExtension ? sourcePath.substr(0, dot) : sourcePath;
    const std::string folder = slash == std::string::npos ? "" : sourcePath.substr(0, slash + 1);
    for (int n = 1;; ++n) {
        const std::string path = stem + (n == 1 ? "" : "(" + std::to_string(n) + ")") + ".xlsx";
        // An office suite marks a file it holds open with ".~lock.<name>#" beside it.
        const std::string lock = folder + ".~lock." + path.substr(folder.size()) + "#";
        struct stat st;
        if (stat(lock.c_str(), &st) != 0) return path;
    }
}

}  // namespace platform
