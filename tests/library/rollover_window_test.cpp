// 年度更新 opened from 図書館の管理, offscreen, on the small school: a class
// list read and shown without changing anything, then 実行 after the
// question naming the backup, which is made in the desk's backup folder;
// a bad list shows its lines and keeps 実行 off.
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/pin_constants.h"
#include "library/U_Nendo.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;
using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

class RolloverWindowTest : public YearFixture {
  protected:
    void StartDesk() {
        backups = (root / "backups").string();
        fs::create_directories(backups);
        PrepareHead(
            {{"meisyou", engine::Value("若葉小学校")}, {"PathName2", engine::Value(backups)}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    std::string List(const std::string& text) {
        const auto path = (root / "new-year.csv").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    void InRolloverWindow(std::function<void(QDialog&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button4"); })
            .Drive("kashidashi::TNendo", std::move(drive));
    }
    std::string PupilOf(const std::string& nameId) {
        kashidashi::library::PlaceConnection read(kashidashi::library::DataPlace::Folder(data));
        auto rows = kashidashi::library::SelectRows(
            *read, "Select seito_No From Name Where NAME_ID='" + nameId + "'");
        return rows.rows.empty() ? "gone" : kashidashi::library::TextOf(rows.rows[0].values[0]);
    }
    std::string backups;
};

TEST_F(RolloverWindowTest, AListIsShownThenPutInPlaceAfterTheBackup) {
    StartDesk();
    const auto path = List(
        "NAME_ID,seito_No,NAME,syozoku_ID\n100001,10201,青木　一郎,102\n"
        "100002,10102,井上　花子,101\n100003,10101,上田　健,101\n"
        "900001,90001,大野　先生,900\n");
    QString shown;
    std::string pupilBeforeRun;
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        shown = window.findChild<QLabel*>("Label2")->text();
        pupilBeforeRun = PupilOf("100001");
        Click(window, "Button4");
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Question, Dialogs::Yes).Answer(Kind::Information, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(
        shown,
        QStringLiteral("変更 2 人、新規 0 人、削除 1 人（予約 0 件）、残す 0 人、変わらない 2 人"));
    EXPECT_EQ(pupilBeforeRun, "10101");
    EXPECT_EQ(PupilOf("100001"), "10201");
    EXPECT_EQ(PupilOf("100004"), "gone");
    ASSERT_GE(dialogs->Texts().size(), 2u);
    EXPECT_TRUE(dialogs->Texts()[0].contains(QStringLiteral("kashidashi-before-rollover-")));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(backups))
        files += entry.path().filename().string().rfind("kashidashi-before-rollover-", 0) == 0;
    EXPECT_EQ(files, 1u);
}

TEST_F(RolloverWindowTest, ABadListShowsItsLinesAndCannotRun) {
    StartDesk();
    const auto path = List("NAME_ID,seito_No,NAME,syozoku_ID\n100001,10201,青木　一郎,777\n");
    bool canRun = true;
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        canRun = window.findChild<QPushButton*>("Button4")->isEnabled();
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Warning, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_FALSE(canRun);
    EXPECT_EQ(PupilOf("100001"), "10101");
}

// A user who leaves with a book out is kept, and their books print.
TEST_F(RolloverWindowTest, TheBooksOfUsersWhoLeavePrint) {
    StartDesk();
    const auto path = List(
        "NAME_ID,seito_No,NAME,syozoku_ID\n100001,10101,青木　一郎,101\n"
        "100002,10102,井上　花子,101\n900001,90001,大野　先生,900\n");
    std::string printed;
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            for (const auto& text :
                 static_cast<kashidashi::reports::TPreview&>(preview).Report().pages.at(0).texts)
                printed += text.Text() + "|";
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_NE(printed.find("名簿にない利用者の貸出中図書"), std::string::npos) << printed;
    EXPECT_NE(printed.find("上田　健"), std::string::npos) << printed;
    EXPECT_NE(printed.find("本4"), std::string::npos) << printed;
    EXPECT_EQ(PupilOf("100003"), "10201");  // nothing changed
}

// A picture of the window with a list read, for the project's documents,
// when KASHIDASHI_SCREENSHOTS names a folder.
TEST_F(RolloverWindowTest, Screenshot) {
    const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
    const std::string target = fs::absolute(folder).string();
    StartDesk();
    const auto path = List(
        "NAME_ID,seito_No,NAME,syozoku_ID\n100001,10201,青木　一郎,102\n"
        "100002,10102,井上　花子,101\n300001,10101,新井　春,101\n"
        "900001,90001,大野　先生,900\n");
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        Settle();
        EXPECT_TRUE(
            window.grab().save(QString::fromStdString(target + "/rollover-window.png"), "PNG"));
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
}

}  // namespace
}  // namespace library_test
