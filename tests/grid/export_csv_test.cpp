// CopyCsvFile: the file as shown by the grid, the progress window and its
// Cancel button, and the failures.
#include <QApplication>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "grid/export_fixture.h"
#include "grid/export_progress.h"

namespace grid_test {
namespace {

using kashidashi::Dialogs;
using kashidashi::TLibXGrid;

QWidget* ProgressWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "ExportProgress" && w->isVisible()) return w;
    return nullptr;
}

int CountLines(const std::string& text) {
    int lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

// The reservation list, the book number column hidden: every line begins with
// a comma; quotes doubled through the marker; blanks at the ends trimmed;
// code page 932 without a byte-order mark; CR LF after every line.
TEST_F(ExportFixture, ReservationListIsWrittenByteForByte) {
    ReservationList();
    EXPECT_EQ(grid->CopyCsvFile(), 4);
    std::ifstream expected(std::string(KX_TEST_DATA) + "/grid/reservations.csv", std::ios::binary);
    std::ostringstream bytes;
    bytes << expected.rdbuf();
    ASSERT_FALSE(bytes.str().empty());
    EXPECT_EQ(ReadCsv(), bytes.str());
    EXPECT_EQ(ReadCsv().substr(0, 4), Sjis(",\"書"));  // no byte-order mark
    EXPECT_EQ(grid->ExportLines.size(), 4);
    EXPECT_TRUE(dialogs->Records().empty()) << dialogs->Describe();
}

TEST_F(ExportFixture, LinesFollowTheColumnsThatTakePart) {
    struct Case {
        bool titleRow;
        bool firstVisible, secondVisible;
        const char* firstLine;
    } cases[] = {
        {true, true, true, "\"ID\",\"Title\",\"Memo\""},
        {false, true, true, "\"1\",\"本 1\",\"\""},
        {true, false, true, ",\"Title\",\"Memo\""},
        {false, true, false, "\"1\",\"\""},
        {false, false, false, ",\"\""},
    };
    ShowItems(2);
    for (const Case& c : cases) {
        grid->ExportTitleRow = c.titleRow;
        grid->Columns(0).Visible = c.firstVisible;
        grid->Columns(1).Visible = c.secondVisible;
        grid->ColumnsChanged();
        EXPECT_EQ(grid->CopyCsvFile(), c.titleRow ? 3 : 2) << c.firstLine;
        const std::string text = ReadCsv();
        EXPECT_EQ(text.substr(0, text.find("\r\n")), Sjis(c.firstLine));
        EXPECT_EQ(CountLines(text), c.titleRow ? 3 : 2);
    }
}

// Cancel pressed while the 26th record comes: 25 record lines and the title.
TEST_F(ExportFixture, CancelKeepsTheLinesSoFarAndCountsThemNegative) {
    engine::TDBTable& items = ShowItems(40);
    bool windowEnabled = true;
    QString caption;
    OnRecord(items, 26, [&] {
        QWidget* progress = ProgressWindow();
        ASSERT_NE(progress, nullptr);
        caption = progress->windowTitle();
        windowEnabled = window->isEnabled();
        progress->findChild<QPushButton*>("CancelButton")->click();
    });
    EXPECT_EQ(grid->CopyCsvFile(), -26);
    EXPECT_TRUE(grid->ExportCancelled);
    EXPECT_EQ(caption, QString::fromUtf8(kashidashi::ExportProgress::kCaption));
    EXPECT_FALSE(windowEnabled);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(ProgressWindow(), nullptr);
    const std::string text = ReadCsv();
    EXPECT_EQ(CountLines(text), 26);
    EXPECT_NE(text.find(Sjis("\"25\",\"本 25\"")), std::string::npos);
    EXPECT_EQ(text.find(Sjis("\"26\",")), std::string::npos);
    EXPECT_EQ(items.FieldByName("ID").AsInteger(), 1);  // back on the first record
}

TEST_F(ExportFixture, EmptyDataSetGivesTheTitleLineAlone) {
    ShowItems(0);
    EXPECT_EQ(grid->CopyCsvFile(), 1);
    EXPECT_EQ(ReadCsv(), "\"ID\",\"Title\",\"Memo\"\r\n");
}

TEST_F(ExportFixture, DataSetThatDoesNotBrowseGivesNothingToOutput) {
    engine::TDBTable& items = ShowItems(3);
    struct Case {
        std::function<void()> put;
    } cases[] = {{[&] { items.Close(); }}, {[&] { items.Open(), items.Edit(); }}};
    for (const Case& c : cases) {
        c.put();
        std::filesystem::remove(csvPath);
        EXPECT_EQ(grid->CopyCsvFile(), 0);
        EXPECT_FALSE(std::filesystem::exists(csvPath));
        EXPECT_TRUE(window->isEnabled());
    }
    items.Cancel();
    ASSERT_EQ(dialogs->Records().size(), 2u);
    for (const auto& record : dialogs->Records()) {
        EXPECT_EQ(record.kind, Dialogs::Kind::Error);
        EXPECT_EQ(record.text, QString::fromUtf8(TLibXGrid::kNothingToExport));
        EXPECT_EQ(record.buttons, Dialogs::Ok);
    }
}

TEST_F(ExportFixture, FileThatCannotBeMadeGivesItsMessage) {
    ShowItems(3);
    grid->CsvFileName = (folder / "no-such-folder" / "x.csv").string();
    EXPECT_EQ(grid->CopyCsvFile(), 0);
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{QString::fromUtf8(TLibXGrid::kCsvNotCreated)});
}

// A failure while the lines are built: the file stays as truncated and the
// result is 0, as nothing was saved.
TEST_F(ExportFixture, FailureWhileBuildingLinesSavesNothingAndCountsNothing) {
    engine::TDBTable& items = ShowItems(20);
    std::ofstream(csvPath) << "old";
    OnRecord(items, 5, [] { throw std::runtime_error("disk gone"); });
    EXPECT_EQ(grid->CopyCsvFile(), 0);
    EXPECT_EQ(ReadCsv(), "");
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{QString::fromUtf8(TLibXGrid::kCsvFailed)});
    EXPECT_FALSE(items.ControlsDisabled());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ExportFixture, WithoutMessagesEveryFailureIsSilent) {
    engine::TDBTable& items = ShowItems(3);
    grid->ShowExportMessages = false;
    grid->CsvFileName = (folder / "no-such-folder" / "x.csv").string();
    EXPECT_EQ(grid->CopyCsvFile(), 0);
    items.Close();
    EXPECT_EQ(grid->CopyCsvFile(), 0);
    EXPECT_TRUE(dialogs->Records().empty()) << dialogs->Describe();
}

}  // namespace
}  // namespace grid_test
