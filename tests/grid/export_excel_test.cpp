// CopyExcel: the .xlsx written beside the CSV file and read back with
// openpyxl; the opener of the desktop; the failures.
#include <stdlib.h>

#include <unistd.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "grid/export_fixture.h"
#include "platform/spreadsheet.h"

namespace grid_test {
namespace {

using kashidashi::Dialogs;
using kashidashi::TLibXGrid;
using platform::SpreadsheetApplication;

std::string XlsxPath(const std::string& csvPath) {
    return csvPath.substr(0, csvPath.rfind('.')) + ".xlsx";
}

QJsonObject XCell(const QJsonObject& xlsx, const char* address) {
    return xlsx["cells"].toObject()[address].toObject();
}

// Memo "=1+1" comes back as text; a title ending in "." makes a text column;
// borders over the table, the font on every cell, the sheet's name.
TEST_F(ExportFixture, SpreadsheetHoldsTheRowsAsShown) {
    engine::TDBTable& items = ShowItems(3);
    items.First();
    items.Edit();
    items.FieldByName("Memo").SetAsString("=1+1");
    items.Post();
    grid->Columns(0).Title = "番号.";
    grid->ColumnsChanged();
    grid->ExcelFont = QFont("IPAGothic", 12);
    grid->ExcelFont.setBold(true);
    grid->ExcelSheetName = "貸出";
    ASSERT_TRUE(grid->CopyExcel());
    EXPECT_EQ(grid->ExportedLineCount, 4);
    const QJsonObject xlsx = ReadXlsx(XlsxPath(csvPath));
    EXPECT_EQ(xlsx["sheet"].toString(), "貸出");
    EXPECT_EQ(xlsx["header"].toString(), "&A");
    EXPECT_FALSE(xlsx["landscape"].toBool());
    EXPECT_EQ(XCell(xlsx, "A1")["value"].toString(), "番号.");
    EXPECT_EQ(XCell(xlsx, "C2")["value"].toString(), "=1+1");
    EXPECT_EQ(XCell(xlsx, "C2")["type"].toString(), "s");
    for (const char* text : {"A2", "A3", "A4"}) {
        EXPECT_EQ(XCell(xlsx, text)["format"].toString(), "@") << text;
        EXPECT_EQ(XCell(xlsx, text)["type"].toString(), "s") << text;
    }
    EXPECT_EQ(XCell(xlsx, "A4")["value"].toString(), "3");
    EXPECT_EQ(XCell(xlsx, "B3")["value"].toString(), "本 2");
    for (const char* any : {"A1", "C4", "B2"}) {
        const QJsonObject cell = XCell(xlsx, any);
        EXPECT_EQ(cell["border"].toString(), "thin") << any;
        EXPECT_EQ(cell["font"].toString(), "IPAGothic") << any;
        EXPECT_EQ(cell["size"].toDouble(), 12.0) << any;
        EXPECT_TRUE(cell["bold"].toBool()) << any;
        EXPECT_FALSE(cell["italic"].toBool()) << any;
    }
    EXPECT_FALSE(xlsx["cells"].toObject().contains("D1"));
    EXPECT_GT(xlsx["widths"].toObject()["B"].toDouble(), 0);
    EXPECT_TRUE(dialogs->Records().empty()) << dialogs->Describe();
}

// Numbers stay numbers outside text columns; colours and no borders.
TEST_F(ExportFixture, SettingsShapeTheSheet) {
    ShowItems(2);
    grid->ExcelBorderWeight = 0;
    grid->ExcelBodyColor = 0x00CCFFFF;   // light yellow, as 0x00BBGGRR
    grid->ExcelTitleColor = 0x000000FF;  // red
    grid->ExcelLandscape = true;
    grid->ExcelFont.setItalic(true);
    grid->ExcelFont.setStrikeOut(true);
    ASSERT_TRUE(grid->CopyExcel());
    const QJsonObject xlsx = ReadXlsx(XlsxPath(csvPath));
    EXPECT_EQ(xlsx["sheet"].toString(), "TMP$$$");
    EXPECT_EQ(xlsx["header"].toString(), "");
    EXPECT_TRUE(xlsx["landscape"].toBool());
    EXPECT_EQ(XCell(xlsx, "A2")["type"].toString(), "n");
    EXPECT_EQ(XCell(xlsx, "A2")["value"].toDouble(), 1.0);
    EXPECT_TRUE(XCell(xlsx, "B2")["border"].isNull());
    EXPECT_EQ(XCell(xlsx, "B2")["fill"].toString(), "FFFFFFCC");
    EXPECT_EQ(XCell(xlsx, "C1")["fill"].toString(), "FFFF0000");
    EXPECT_TRUE(XCell(xlsx, "B2")["italic"].toBool());
    EXPECT_TRUE(XCell(xlsx, "B2")["strike"].toBool());
}

// The sheet may not take the name of an open workbook (the CSV file's).
TEST_F(ExportFixture, SheetNameOfAnOpenWorkbookGetsItsNumber) {
    ShowItems(1);
    grid->ExcelSheetName = "TMP$$$.CSV";
    ASSERT_TRUE(grid->CopyExcel());
    EXPECT_EQ(ReadXlsx(XlsxPath(csvPath))["sheet"].toString(), "TMP$$$.CSV(2)");
}

// The reservation list as a sheet: the hidden first column stays empty.
TEST_F(ExportFixture, ReservationListSheet) {
    ReservationList();
    ASSERT_TRUE(grid->CopyExcel());
    const QJsonObject xlsx = ReadXlsx(XlsxPath(csvPath));
    EXPECT_EQ(XCell(xlsx, "B1")["value"].toString(), "書名");
    EXPECT_EQ(XCell(xlsx, "B2")["value"].toString(), "はらぺこあおむし");
    EXPECT_EQ(XCell(xlsx, "H2")["value"].toString(), "「続き」を\"早く\"");
    EXPECT_EQ(XCell(xlsx, "F3")["value"].toString(), "ｻﾄｳ ﾊﾅｺ");
    EXPECT_TRUE(XCell(xlsx, "A2")["value"].isNull());
    EXPECT_EQ(XCell(xlsx, "H4")["border"].toString(), "thin");  // 8 grid columns: A..H
    EXPECT_FALSE(xlsx["cells"].toObject().contains("I1"));
}

// The desktop's application gets the .xlsx; a second export finds it
// running, closes its workbook and leaves its window state at 1.
TEST_F(ExportFixture, DesktopApplicationOpensTheFile) {
    const std::string record = (folder / "opened.txt").string();
    const std::string opener = (folder / "opener.sh").string();
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> '" << record << "'\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    setenv("KASHIDASHI_OPENER", opener.c_str(), 1);
    ShowItems(2);
    ASSERT_TRUE(grid->CopyExcel());
    auto app = SpreadsheetApplication::Running();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->WrittenPath(), XlsxPath(csvPath));
    EXPECT_TRUE(app->Visible());
    EXPECT_EQ(app->WindowState(), 0);
    ASSERT_TRUE(grid->CopyExcel());
    EXPECT_EQ(SpreadsheetApplication::Running(), app);
    EXPECT_EQ(app->WindowState(), 1);
    EXPECT_EQ(app->WorkbooksCount(), 1);
    for (int wait = 0; wait < 1000; ++wait) {  // the opener runs on its own
        std::ifstream in(record);
        std::stringstream lines;
        lines << in.rdbuf();
        if (lines.str() == XlsxPath(csvPath) + "\n" + XlsxPath(csvPath) + "\n") return;
        usleep(10'000);
    }
    ADD_FAILURE() << "the opener was not handed the file twice";
}

TEST_F(ExportFixture, NoApplicationForSpreadsheets) {
    ShowItems(2);
    setenv("KASHIDASHI_OPENER", (folder / "no-such-opener").c_str(), 1);
    EXPECT_FALSE(grid->CopyExcel());
    EXPECT_FALSE(std::filesystem::exists(csvPath));
    EXPECT_EQ(SpreadsheetApplication::Running(), nullptr);
    ASSERT_EQ(dialogs->Records().size(), 1u);
    EXPECT_EQ(dialogs->Records()[0].kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs->Records()[0].text, QString::fromUtf8(TLibXGrid::kNoSpreadsheet));
}

// Cancelled, nothing to output, or a failure while the lines were built:
// false, no sheet opened, the application started for it gone.
TEST_F(ExportFixture, NothingWrittenOpensNothing) {
    engine::TDBTable& items = ShowItems(30);
    struct Case {
        std::function<void()> arrange;
        int lines;
    } cases[] = {
        {[&] { OnRecord(items, 5, [] { throw std::runtime_error("gone"); }); }, 0},
        {[&] {
             OnRecord(items, 3, [&] {
                 for (QWidget* w : QApplication::topLevelWidgets())
                     if (auto* b = w->findChild<QPushButton*>("CancelButton")) b->click();
             });
         },
         -3},
        {[&] { items.AfterScroll = nullptr, items.Close(); }, 0},
    };
    for (const Case& c : cases) {
        c.arrange();
        EXPECT_FALSE(grid->CopyExcel());
        EXPECT_EQ(grid->ExportedLineCount, c.lines);
        EXPECT_EQ(SpreadsheetApplication::Running(), nullptr);
        EXPECT_FALSE(std::filesystem::exists(XlsxPath(csvPath)));
    }
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{QString::fromUtf8(TLibXGrid::kCsvFailed),
                                    QString::fromUtf8(TLibXGrid::kNothingToExport)}));
}

}  // namespace
}  // namespace grid_test
