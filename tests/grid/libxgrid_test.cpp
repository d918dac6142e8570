// TLibXGrid: the export settings' defaults and the default CSV path.
#include <unistd.h>

#include <QApplication>
#include <filesystem>

#include "grid/LibXGrid.h"
#include "grid/grid_fixture.h"

namespace grid_test {
namespace {

using kashidashi::TLibXGrid;

TEST_F(GridFixture, ExportSettingsStartAtTheirDefaults) {
    TLibXGrid fresh;
    EXPECT_TRUE(fresh.ExportTitleRow);
    EXPECT_TRUE(fresh.ShowExportMessages);
    EXPECT_TRUE(fresh.ExcelAutoFit);
    EXPECT_TRUE(fresh.ExcelSheetName.isEmpty());
    EXPECT_EQ(fresh.ExcelFont, QFont());
    EXPECT_EQ(fresh.ExcelFontColor, TLibXGrid::kColorWindowText);
    EXPECT_EQ(fresh.ExcelBorderWeight, 2);
    EXPECT_EQ(fresh.ExcelBorderColor, 0u);
    EXPECT_EQ(fresh.ExcelBodyColor, TLibXGrid::kColorNone);
    EXPECT_EQ(fresh.ExcelTitleColor, TLibXGrid::kColorNone);
    EXPECT_FALSE(fresh.ExcelLandscape);
    EXPECT_TRUE(fresh.ExportLines.isEmpty());
    EXPECT_FALSE(fresh.ExportCancelled);
    EXPECT_EQ(fresh.ExportedLineCount, 0);
    EXPECT_EQ(fresh.CsvFileName, TLibXGrid::DefaultCsvFileName());
}

// The CSV folder of the working folder is used when it exists, never made.
TEST_F(GridFixture, DefaultCsvFileNameIsInTheCsvFolderWhenThereIsOne) {
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(TLibXGrid::DefaultCsvFileName(), cwd + "/TMP$$$.CSV");
    EXPECT_FALSE(std::filesystem::exists(folder / "CSV"));
    std::filesystem::create_directory(folder / "CSV");
    EXPECT_EQ(TLibXGrid::DefaultCsvFileName(), cwd + "/CSV/TMP$$$.CSV");
    EXPECT_EQ(TLibXGrid().CsvFileName, cwd + "/CSV/TMP$$$.CSV");
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace grid_test
