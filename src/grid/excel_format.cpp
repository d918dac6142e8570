// TLibXGrid::FormatSheet: the loaded CSV file formatted in the spreadsheet
// application, step by step under the progress window.
#include <QFontInfo>
#include <functional>

#include "grid/LibXGrid.h"
#include "grid/export_progress.h"
#include "grid/export_range.h"
#include "platform/spreadsheet.h"

namespace kashidashi {

// A failure of any step ends the formatting silently; the export goes on.
void TLibXGrid::FormatSheet(platform::SpreadsheetApplication& app, const std::string& path,
                            int rows, int lastColumn) {
    ExportProgress progress(*this, ExportProgress::Kind::Spreadsheet);
    const std::string table = CellRangeAddress(1, 1, rows - 1, lastColumn);
    const std::vector<std::function<void()>> steps = {
        [&] { app.WorkbooksClose(), app.WorkbooksOpen(path, false); },
        [&] { MarkTextColumns(app, rows, lastColumn); },
        [&] {
            if (ExcelBorderWeight != 0) app.SetBordersWeight(table, ExcelBorderWeight);
        },
        [&] {
            if (ExcelBodyColor != kColorNone) app.SetInteriorColor(table, ExcelBodyColor);
        },
        [&] {
            if (ExportTitleRow && ExcelTitleColor != kColorNone)
                app.SetInteriorColor(CellRangeAddress(1, 1, 0, lastColumn), ExcelTitleColor);
        },
        [&] {
            if (ExcelBorderWeight != 0) app.SetBordersColor(table, ExcelBorderColor);
        },
        [&] { ApplyFont(app); },
        [&] { NameSheet(app); },
        [&] {
            if (ExcelAutoFit) app.AutoFitColumns();
        },
        [&] { app.SelectCell(1, 1); },
    };
    try {
        for (const auto& step : steps) {
            step();
            progress.StepIt();
            progress.ProcessMessages();
        }
    } catch (const std::exception&) {
        // The sheet stays as far as it was formatted.
    }
    progress.ProcessMessages();
}

// Columns whose title ends in "." hold texts from row 2 down.
void TLibXGrid::MarkTextColumns(platform::SpreadsheetApplication& app, int rows, int lastColumn) {
    for (int column = 1; column <= lastColumn + 1; ++column) {
        try {
            const std::string title = app.RangeText(CellRangeAddress(1, column, 0, 0));
            if (!title.empty() && title.back() == '.')
                app.SetNumberFormatLocal(CellRangeAddress(2, column, rows - 2, 0), "@");
        } catch (const std::exception&) {
            // Only this column stays as it was.
        }
    }
}

void TLibXGrid::ApplyFont(platform::SpreadsheetApplication& app) {
    const double size =
        ExcelFont.pointSizeF() > 0 ? ExcelFont.pointSizeF() : QFontInfo(ExcelFont).pointSizeF();
    app.SetFontSize(size);
    app.SetFontName(ExcelFont.family().toStdString());
    app.SetFontColor(ExcelFontColor);
    if (ExcelFont.bold()) app.SetFontBold(true);
    if (ExcelFont.italic()) app.SetFontItalic(true);
    if (ExcelFont.strikeOut()) app.SetFontStrikethrough(true);
}

// The asked name, with "(n)" added for as long as a workbook has that name.
void TLibXGrid::NameSheet(platform::SpreadsheetApplication& app) {
    if (ExcelSheetName.isEmpty()) return;
    std::string name = ExcelSheetName.toStdString();
    int n = 1;
    for (bool clash = true; clash;) {
        ++n;
        clash = false;
        for (int i = 1; i <= app.WorkbooksCount() && !clash; ++i)
            clash = app.WorkbookName(i) == name;
        if (clash) name += "(" + std::to_string(n) + ")";
    }
    try {
        app.SetSheetName(name);
    } catch (const std::exception&) {
        // The sheet keeps the name it has.
    }
    app.SetCenterHeader("&A");
}

}  // namespace kashidashi
