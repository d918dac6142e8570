// SpreadsheetApplication: the spreadsheet application as the grid export drives
// it, one call per automation call ("Workbooks.Open", "ActiveSheet.Name", ...),
// served on a desktop that has no such application to automate.
//
// An instance keeps its workbooks in memory; each workbook has one sheet. When
// the application is made visible, the active workbook is written as a real
// .xlsx file beside the file it was opened from (same name, ".xlsx"; "(2)",
// "(3)", ... when a desktop application holds that file open) and handed to
// the desktop's application for spreadsheets.
//
// Loading a CSV file (Workbooks.Open): code page 932, commas, double quotes
// ("" inside quotes is one quote), CR LF or LF line ends; the workbook is named
// after the file ("TMP$$$.CSV"), its sheet after the file without extension.
// Cells keep their text. When written, a cell whose text is a plain decimal
// number without leading zeros ("12", "-3.5") becomes a number unless its
// number format is "@" (text); every other text becomes a string cell, never
// a formula: "=1+1" stays the text "=1+1".
//
// Ranges are addresses such as "A1" and "A1:C10" (a reversed range is taken
// in order). Colours are 0x00BBGGRR; a system colour code (high bit set) means
// the automatic colour. Border weights: 1 hair, 2 thin, -4138 medium, 4 thick.
// A call that the application would refuse (no active workbook, a bad range,
// weight, orientation or sheet name, a file that cannot be read or written,
// the desktop application that cannot be started) throws SpreadsheetError and
// changes nothing.
//
// Instances live on the user interface thread. Running() is the instance that
// Create() started last and that has not quit: it stays after an export, as a
// spreadsheet program stays open.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// The application cannot be started: the desktop has none for spreadsheets.
class AutomationError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A call on the application failed.
class SpreadsheetError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct SpreadsheetWorkbook;

class SpreadsheetApplication {
  public:
    static std::shared_ptr<SpreadsheetApplication> Running();
    // AutomationError when SpreadsheetApplicationFound() is false.
    static std::shared_ptr<SpreadsheetApplication> Create();
    ~SpreadsheetApplication();

    // Application.
    void SetVisible(bool visible);  // true: writes and opens the active workbook
    bool Visible() const { return visible_; }
    void SetWindowState(int state) { windowState_ = state; }
    int WindowState() const { return windowState_; }
    void SetDisplayAlerts(bool on) { displayAlerts_ = on; }
    void Quit();  // closes every workbook; Running() forgets the instance
    // The file written when the application was last made visible.
    const std::string& WrittenPath() const { return writtenPath_; }

    // Workbooks (1-based).
    void WorkbooksAdd();
    void WorkbooksClose();
    void WorkbooksOpen(const std::string& path, bool readOnly);
    int WorkbooksCount() const { return static_cast<int>(workbooks_.size()); }
    std::string WorkbookName(int index) const;
    void ActiveWorkbookClose();

    // The active sheet.
    std::string RangeText(const std::string& address) const;
    void SetNumberFormatLocal(const std::string& address, const std::string& format);
    void SetBordersWeight(const std::string& address, int weight);
    void SetBordersColor(const std::string& address, uint32_t color);
    void SetInteriorColor(const std::string& address, uint32_t color);
    void SetFontSize(double size);
    void SetFontName(const std::string& name);
    void SetFontColor(uint32_t color);
    void SetFontBold(bool on);
    void SetFontItalic(bool on);
    void SetFontStrikethrough(bool on);
    std::string SheetName() const;
    void SetSheetName(const std::string& name);
    void SetCenterHeader(const std::string& text);
    void SetOrientation(int orientation);  // 1 portrait, 2 landscape
    void AutoFitColumns();
    void SelectCell(int row, int column);

  private:
    SpreadsheetApplication() = default;
    SpreadsheetWorkbook& Active() const;

    std::vector<std::unique_ptr<SpreadsheetWorkbook>> workbooks_;
    int added_ = 0;  // workbooks added, for their names
    bool visible_ = false;
    bool displayAlerts_ = true;
    int windowState_ = 0;
    std::string writtenPath_;
};

}  // namespace platform
