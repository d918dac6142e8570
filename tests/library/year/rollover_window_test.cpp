// 年度更新 opened from 図書館の管理, offscreen, on the small school: a class
// list read and shown without changing anything, then 実行 after the
// question naming the backup, which is made in the desk's backup folder;
// a bad list shows its lines and keeps 実行 off.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/pin_constants.h"
#include "library/sql_rows.h"
#include "library/stats/stats.h"
#include "library/year/U_Nendo.h"
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
    dialogs->Answer(Kind::Question, Dialogs::Yes)
        .Answer(Kind::Question, Dialogs::Yes)
        .Answer(Kind::Information, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(shown, QStringLiteral("去る 1 人（削除 1、卒業・転出へ 0）、残る 2 人、変わる 2 人、"
                                    "来る 0 人（予約の取消 0 件）"));
    EXPECT_EQ(pupilBeforeRun, "10101");
    EXPECT_EQ(PupilOf("100001"), "10201");
    EXPECT_EQ(PupilOf("100004"), "gone");
    ASSERT_GE(dialogs->Texts().size(), 3u);
    // One of five leaving asks again, with the counts.
    EXPECT_TRUE(
        dialogs->Texts()[0].contains(QStringLiteral("利用者の 1 割を超える 1 人（全 5 人）")))
        << dialogs->Texts()[0].toStdString();
    EXPECT_TRUE(dialogs->Texts()[0].contains(QStringLiteral("1年2組 去る 1")))
        << dialogs->Texts()[0].toStdString();
    EXPECT_TRUE(dialogs->Texts()[1].contains(QStringLiteral("kashidashi-before-rollover-")));
    size_t files = 0, stats = 0;
    for (const auto& entry : fs::directory_iterator(backups)) {
        const auto name = entry.path().filename().string();
        files += name.rfind("kashidashi-before-rollover-", 0) == 0 && entry.is_regular_file();
        if (entry.is_directory() && name.find("-統計") != std::string::npos)
            for (const auto& saved : fs::directory_iterator(entry.path()))
                stats += saved.path().extension() == ".pdf";
    }
    EXPECT_EQ(files, 1u);
    EXPECT_EQ(stats, kashidashi::library::AllStatsViews().size());  // beside the backup
    EXPECT_TRUE(dialogs->Texts()[2].contains(QStringLiteral("-統計")));
}

TEST_F(RolloverWindowTest, ABadListShowsItsLinesAndCannotRun) {
    StartDesk();
    const auto path = List("NAME_ID,seito_No,NAME,syozoku_ID\n100001,10201,青木\U0001F600,101\n");
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

// Users who leave with books out are kept, and their books print, one
// class a page (099999 of 1年2組 comes before 1年1組's users by number).
TEST_F(RolloverWindowTest, TheBooksOfUsersWhoLeavePrintOneClassAPage) {
    RunSql(data,
           "Insert Into Name (NAME_ID, seito_No, NAME, mihenkyakuSU, syozoku_ID) Values"
           " ('099999', '10203', '秋山　光', 1, 102);"
           "Update Book Set kashidashiF=True Where BOOK_ID=3;"
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
           " kashidashiF) Values (3, '099999', '10203', '2025/05/20', '2025/06/03', '1')");
    StartDesk();
    const auto path = List(
        "NAME_ID,seito_No,NAME,syozoku_ID\n100004,10202,江藤　空,102\n"
        "900001,90001,大野　先生,900\n");
    std::vector<std::string> pages;
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            for (const auto& page :
                 static_cast<kashidashi::reports::TPreview&>(preview).Report().pages) {
                pages.emplace_back();
                for (const auto& text : page.texts) pages.back() += text.Text() + "|";
            }
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].find("名簿にない利用者の貸出中図書"), std::string::npos) << pages[0];
    for (const char* name : {"青木　一郎", "井上　花子"})
        EXPECT_NE(pages[0].find(name), std::string::npos) << pages[0];
    for (const char* name : {"秋山　光", "上田　健", "本4"})
        EXPECT_NE(pages[1].find(name), std::string::npos) << pages[1];
    EXPECT_EQ(PupilOf("100003"), "10201");  // nothing changed
}

// Many leaving asks again, and no keeps everything; a class SYOZOKU lacks
// is shown with its made name, which the librarian may change.
TEST_F(RolloverWindowTest, NoToTheSecondQuestionKeepsAllAndNewClassesAreNamedHere) {
    StartDesk();
    const auto path = List(
        "NAME_ID,seito_No,NAME,syozoku_ID\n100001,30101,青木　一郎,301\n"
        "900001,90001,大野　先生,900\n");
    bool shown = false;
    InRolloverWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(path));
        Click(window, "Button2");
        auto* grid = window.findChild<QTableWidget*>("StringGrid1");
        shown = grid->isVisibleTo(&window) && grid->rowCount() == 1 &&
                grid->item(0, 1)->text() == QStringLiteral("3年1組");
        Click(window, "Button4");  // no
        grid->item(0, 1)->setText(QStringLiteral("3年ひまわり組"));
        Click(window, "Button4");  // yes, yes
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Question, Dialogs::No)
        .Answer(Kind::Question, Dialogs::Yes)
        .Answer(Kind::Question, Dialogs::Yes)
        .Answer(Kind::Information, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_TRUE(shown);
    ASSERT_GE(dialogs->Texts().size(), 2u);
    EXPECT_TRUE(dialogs->Texts()[0].contains(QStringLiteral("1年2組の全員（2 人）")))
        << dialogs->Texts()[0].toStdString();
    // An Enter meant for something else answers いいえ to the removals.
    for (const auto& record : dialogs->Records())
        if (record.text == dialogs->Texts()[0]) EXPECT_EQ(record.defaultButton, Dialogs::No);
    EXPECT_EQ(PupilOf("100001"), "30101");
    kashidashi::library::PlaceConnection read(kashidashi::library::DataPlace::Folder(data));
    auto rows =
        kashidashi::library::SelectRows(*read, "Select SYOZOKU From SYOZOKU Where SYOZOKU_ID=301");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(kashidashi::library::TextOf(rows.rows[0].values[0]), "3年ひまわり組");
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
