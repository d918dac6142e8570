// Sheets of cells: label and card sheets cut into equal cells in rows and
// columns, as data (":/sheets/cell_sheets.json", or a sheet a librarian
// enters in millimetres), and a report laid out into them.
//
// A sheet file is a JSON array of sheets:
//   [{"name": "a4-44", "title": "A4 44面", "page": [210, 297],
//     "first": [left, top], "cell": [width, height],
//     "pitch": [across, down], "grid": [columns, rows]}, ...]
// all lengths in millimetres from the sheet's top-left corner; cells are
// counted row by row from the top-left one (0 is the first).
#pragma once

#include <QByteArray>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/fonts.h"
#include "reports/layout.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::reports {

struct CellSheet {
    std::string name;   // "a4-44", as commands name it
    std::string title;  // as windows show it
    double pageWidth = 210, pageHeight = 297;
    double left = 0, top = 0;  // the first cell's top-left corner
    double cellWidth = 0, cellHeight = 0;
    double pitchX = 0, pitchY = 0;  // from one cell's corner to the next
    int columns = 1, rows = 1;

    int Count() const { return columns * rows; }
    RectMm CellRect(int index) const;
    // Why the sheet cannot be printed (in Japanese): cells of no size, cells
    // that overlap, or cells off the page; nothing when it can.
    std::optional<std::string> Problem() const;
};

// Throws std::runtime_error for text that is not a sheet list.
std::vector<CellSheet> ParseCellSheets(const QByteArray& json);
// The sheets of the program's resources.
const std::vector<CellSheet>& StandardCellSheets();
// Case-blind; nothing when no sheet has the name.
std::optional<CellSheet> FindCellSheet(std::string_view name);

// The master data band of `layout` once per row of its data set, each into
// the next cell from cell `start` of the first page on; a full sheet starts
// a new page (cells before `start` stay empty: a sheet already partly used).
// The band is drawn for a cell of the layout's band width by the band's
// height; its objects are scaled to the sheet's cell (positions and sizes
// along each axis, fonts by the smaller factor). In a cell, barcode texts
// take expressions too, and a text cell that does not wrap is cut to its
// width with "…". Sources are opened and closed as RenderReport does.
PreparedReport RenderCells(const Layout& layout, const CellSheet& sheet, int start,
                           const std::vector<ReportSource*>& sources,
                           const TextMetrics& metrics = FontMetrics());

// `text` cut (with "…") to fit `widthMm` in `font`; as it is when it fits.
std::string CutToWidth(const std::string& text, double widthMm, const FontStyle& font,
                       const TextMetrics& metrics);

}  // namespace kashidashi::reports
