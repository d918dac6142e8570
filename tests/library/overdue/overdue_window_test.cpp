// 延滞・督促 opened from 図書館の管理, offscreen, on the small school: the
// list of a day with its count, narrowed to a class, and the slips shown
// in the preview.
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/pin_constants.h"
#include "library/overdue/U_Entai.h"
#include "library/year_fixture.h"
#include "platform/cp932.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

class OverdueWindowTest : public YearFixture {
  protected:
    void StartDesk() {
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    void InOverdueWindow(std::function<void(QDialog&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button2"); })
            .Drive("kashidashi::TEntai", std::move(drive));
    }
};

TEST_F(OverdueWindowTest, TheListOfADayNarrowedToAClassAndItsSlips) {
    StartDesk();
    QString all, narrowed;
    size_t slipPages = 0;
    InOverdueWindow([&](QDialog& window) {
        window.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2025, 6, 12));
        all = window.findChild<QLabel*>("Label2")->text();
        auto& classes = *window.findChild<QComboBox*>("ComboBox1");
        classes.setCurrentIndex(classes.findText(QStringLiteral("1年1組")));
        narrowed = window.findChild<QLabel*>("Label2")->text();
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            slipPages = static_cast<kashidashi::reports::TPreview&>(preview).Report().pages.size();
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(all, QStringLiteral("延滞 5 件"));
    EXPECT_EQ(narrowed, QStringLiteral("延滞 2 件"));
    EXPECT_EQ(slipPages, 1u);  // two borrowers of 1年1組
}

// The list of the day as a spreadsheet (written directly; no application
// for spreadsheets here, so the window says where it went) and as CSV.
TEST_F(OverdueWindowTest, TheListSavedAsSpreadsheetAndAsCsv) {
    setenv("KASHIDASHI_OPENER", (root / "no-such-opener").c_str(), 1);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", root.c_str(), 1);  // no xdg-open either
    StartDesk();
    const std::string xlsx = (root / "延滞.xlsx").string(), csv = (root / "延滞.csv").string();
    auto saveAs = [&](const std::string& path) {
        dialogs->Drive("QFileDialog", [path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path));
            dialog.accept();
        });
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
    };
    InOverdueWindow([&](QDialog& window) {
        window.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2025, 6, 12));
        auto& classes = *window.findChild<QComboBox*>("ComboBox1");
        classes.setCurrentIndex(classes.findText(QStringLiteral("1年1組")));
        saveAs(xlsx);
        Click(window, "Button4");
        saveAs(csv);
        Click(window, "Button5");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
    setenv("PATH", path.c_str(), 1);
    unsetenv("KASHIDASHI_OPENER");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    std::ifstream sheet(xlsx, std::ios::binary);
    std::string magic(2, ' ');
    sheet.read(magic.data(), 2);
    EXPECT_EQ(magic, "PK");
    std::ifstream in(csv, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(platform::FromCp932(bytes.str()),
              "\"所属\",\"生徒番号\",\"名前\",\"図書番号\",\"書名\",\"貸出日\",\"返却予定日\","
              "\"延滞日数\"\r\n"
              "\"1年1組\",\"10101\",\"青木　一郎\",\"0000002\",\"本2\",\"2025/05/20\","
              "\"2025/06/09\",\"3\"\r\n"
              "\"1年1組\",\"10102\",\"井上　花子\",\"0000001\",\"本1\",\"2025/05/20\","
              "\"2025/06/10\",\"2\"\r\n");
    const auto texts = dialogs->Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].contains(QString::fromStdString(xlsx))) << texts[0].toStdString();
}

// Pictures for the project's documents, when KASHIDASHI_SCREENSHOTS names a
// folder: the window and the first page of the slips.
TEST_F(OverdueWindowTest, Screenshot) {
    const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
    const std::string target = std::filesystem::absolute(folder).string();
    StartDesk();
    InOverdueWindow([&](QDialog& window) {
        window.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2025, 6, 12));
        Settle();
        EXPECT_TRUE(
            window.grab().save(QString::fromStdString(target + "/overdue-window.png"), "PNG"));
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            preview.resize(1010, 1100);
            Settle();
            EXPECT_TRUE(
                preview.grab().save(QString::fromStdString(target + "/overdue-slips.png"), "PNG"));
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
}

}  // namespace
}  // namespace library_test
