// TLibXGrid::CopyExcel: the CSV export loaded into the spreadsheet
// application, formatted and shown.
#include "grid/LibXGrid.h"
#include "platform/spreadsheet.h"

namespace kashidashi {
namespace {

using platform::SpreadsheetApplication;

// Alerts off; an instance this export started quits, else its workbook closes.
void CloseSpreadsheet(SpreadsheetApplication& app, bool created) {
    try {
        app.SetDisplayAlerts(false);
        created ? app.Quit() : app.ActiveWorkbookClose();
    } catch (const std::exception&) {
        // Nothing is left to undo; the export has failed already.
    }
}

}  // namespace

bool TLibXGrid::CopyExcel() {
    bool created = false;
    std::shared_ptr<SpreadsheetApplication> app = SpreadsheetApplication::Running();
    if (!app) {
        try {
            app = SpreadsheetApplication::Create();
            created = true;
        } catch (const platform::AutomationError&) {
            ExportFailed(kNoSpreadsheet);
            return false;
        }
    }
    try {
        app->WorkbooksAdd();
        ExportedLineCount = CopyCsvFile();
        if (ExportedLineCount < 1) {
            CloseSpreadsheet(*app, created);
            return false;
        }
        FormatSheet(*app, CsvPath(), ExportedLineCount, ColumnCount() - 1);
        app->SetOrientation(ExcelLandscape ? 2 : 1);
        app->SetVisible(true);
        if (!created) app->SetWindowState(1);
        return true;
    } catch (const std::exception&) {
        ExportFailed(kSpreadsheetFailed);
        CloseSpreadsheet(*app, created);
        return false;
    }
}

}  // namespace kashidashi
