// TLibXGrid: the one grid control of the desk. A TFixedColDBGrid with the
// export settings and operations (CopyExcel, CopyCsvFile) and UsingSet.
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

#include "grid/FixedColDBGrid.h"

namespace kashidashi {

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

    // The default path of the CSV file, by the rule above, at this moment.
    static std::string DefaultCsvFileName();

    // Sets the display format of a numeric or date-time field; other fields
    // are left unchanged.
    static void UsingSet(engine::TField& field, const std::string& format);
};

}  // namespace kashidashi
