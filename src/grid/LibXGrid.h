// TLibXGrid: the one grid control of the desk. A TFixedColDBGrid with the
// export settings and operations (CopyExcel, CopyCsvFile) and UsingSet.
//
// CopyCsvFile writes the grid's rows as shown (columns wider than 0, title
// captions, display texts) to CsvFileName: a title line when ExportTitleRow,
// every field in double quotes (quotes inside doubled), a comma before every
// field but one of the first grid column, CR LF after every line, code page
// 932 without a byte-order mark. It shows the progress window (Cancel stops
// it) and returns the lines written, title included; minus that when
// cancelled (the lines so far are saved); 0 when the data set does not
// browse, the file cannot be made, or a failure came while the lines were
// built (the file then stays as truncated at the start).
//
// CopyExcel runs CopyCsvFile, loads its file into the spreadsheet application
// (platform/spreadsheet.h), formats the sheet (text columns under titles that
// end in ".", borders, colours, font, sheet name, page, column widths) and
// shows it: a real .xlsx beside the CSV file, opened on the desktop. False
// when there is no application for spreadsheets, nothing was written, the
// export was cancelled, or a step failed; a failure inside the formatting
// only ends the formatting.
//
// Failures beep and show an error box through Dialogs while
// ShowExportMessages, after the progress window is gone.
//
// The constructor sets every export default after the base grid is built;
// CsvFileName's default is fixed then: "<program folder>/CSV/TMP$$$.CSV" when
// that folder exists, else "<program folder>/TMP$$$.CSV" (the program folder
// is the working folder, where the settings database lives). The grid owns
// ExcelFont and ExportLines.
#pragma once

#include <QFont>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "grid/FixedColDBGrid.h"

namespace platform {
class SpreadsheetApplication;
}

namespace kashidashi {

class ExportProgress;

class TLibXGrid : public TFixedColDBGrid {
    Q_OBJECT
  public:
    // Colours as the platform encodes them: 0x00BBGGRR, high-bit system colours.
    static constexpr uint32_t kColorNone = 0x1FFFFFFF;
    static constexpr uint32_t kColorWindowText = 0x80000008;

    explicit TLibXGrid(QWidget* parent = nullptr);
    ~TLibXGrid() override;

    // Export settings (no window changes them).
    bool ExportTitleRow = true;
    bool ShowExportMessages = true;
    bool ExcelAutoFit = true;
    QString ExcelSheetName;
    QFont ExcelFont;
    uint32_t ExcelFontColor = kColorWindowText;
    int ExcelBorderWeight = 2;
    uint32_t ExcelBorderColor = 0;
    uint32_t ExcelBodyColor = kColorNone;
    uint32_t ExcelTitleColor = kColorNone;
    bool ExcelLandscape = false;
    std::string CsvFileName;

    // Export state.
    QStringList ExportLines;
    bool ExportCancelled = false;
    int ExportedLineCount = 0;

    static constexpr const char* kNothingToExport = "出力するデータがありません。";
    static constexpr const char* kCsvNotCreated = "ＣＳＶファイルが作成できません。";
    static constexpr const char* kCsvFailed = "ＣＳＶ出力中にエラーが発生しました。";
    static constexpr const char* kNoSpreadsheet =
        "Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ "
        "が見つかりません。\r\n\r\nインストール後、再起動して下さい。";
    static constexpr const char* kSpreadsheetFailed = "Ｅｘｃｅｌ出力中にエラーが発生しました。";

    bool CopyExcel();
    int CopyCsvFile();

    // The default path of the CSV file, by the rule above, at this moment.
    static std::string DefaultCsvFileName();

    // Sets the display format of a numeric or date-time field; other fields
    // are left unchanged.
    static void UsingSet(engine::TField& field, const std::string& format);

  private:
    // CSV export (csv_export.cpp).
    std::string CsvPath();
    std::vector<int> ExportColumns() const;
    QString TitleLine(const std::vector<int>& columns) const;
    QString RecordLine(const std::vector<int>& columns) const;
    int WriteCsvLines(engine::TDataSet& dataSet, ExportProgress& progress);
    bool SaveExportLines(const std::string& path) const;
    void ExportFailed(const char* message);
    // Spreadsheet export (excel_export.cpp, excel_format.cpp).
    void FormatSheet(platform::SpreadsheetApplication& app, const std::string& path, int rows,
                     int lastColumn);
    void MarkTextColumns(platform::SpreadsheetApplication& app, int rows, int lastColumn);
    void ApplyFont(platform::SpreadsheetApplication& app);
    void NameSheet(platform::SpreadsheetApplication& app);
};

}  // namespace kashidashi
