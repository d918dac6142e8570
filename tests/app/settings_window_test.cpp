// The initial settings window: what it shows when it opens, the panels of the
// engine choice, saving on close, Reg row 2, refused number edits, the manual
// page question.
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/LibMail.h"
#include "app/U_Head1.h"
#include "widgets/radio_group.h"
#include "support/app_fixture.h"
#include "data/pin_constants.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

class SettingsWindowTest : public AppFixture {
  protected:
    // A desk started normally on C:\Book\ (with or without Reg rows 2 and 10).
    void StartDesk(bool withRegRows = true, Values values = {}) {
        bookFolder = DriveFolder("C:\\Book\\");
        MakeDataFolder(bookFolder, withRegRows);
        values["meisyou"] = engine::Value("若葉小学校");
        PrepareHead(values);
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
        ASSERT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }
    // Opens the window from the main window's button with the script.
    void OpenSettings(std::function<void(QDialog&)> script) {
        dialogs->Drive("kashidashi::THead1", std::move(script));
        Main().findChild<QPushButton*>("Button1")->click();
    }
    static kashidashi::TRadioGroup* Group(QDialog& w, const char* name) {
        return w.findChild<kashidashi::TRadioGroup*>(name);
    }
    std::string bookFolder;
};

TEST_F(SettingsWindowTest, ShowsTheHeadRowAndRegRow2) {
    StartDesk(true, {{"PM1", engine::Value(14)}, {"nendo", engine::Value(2024)}});
    OpenSettings([](QDialog& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("初期設定"));
        EXPECT_EQ(w.size(), QSize(586, 671));
        EXPECT_EQ(TextOf(w, "RDBEdit1"), QStringLiteral("2024"));
        EXPECT_EQ(TextOf(w, "RDBEdit9"), QStringLiteral("14"));
        EXPECT_EQ(TextOf(w, "RDBEdit2"), QStringLiteral("7"));
        EXPECT_EQ(Group(w, "RadioGroup2")->ItemIndex(), 1);
        EXPECT_EQ(Group(w, "RadioGroup1")->ItemIndex(), 0);
        EXPECT_EQ(TextOf(w, "RDBEdit8"), QStringLiteral("C:\\Book\\"));
        EXPECT_EQ(TextOf(w, "Label4"), QStringLiteral("データフォルダ名を指定してください。"));
        EXPECT_TRUE(w.findChild<QFrame*>("Panel3")->isVisible());
        EXPECT_FALSE(w.findChild<QFrame*>("Panel2")->isVisible());
        auto* pin = w.findChild<QLineEdit*>("RDBEdit7");
        EXPECT_EQ(pin->echoMode(), QLineEdit::Password);
        EXPECT_EQ(pin->maxLength(), 4);
        EXPECT_EQ(w.findChild<QLineEdit*>("RDBEdit9")->maxLength(), 4);
        EXPECT_EQ(w.findChild<QLineEdit*>("RDBEdit11")->maxLength(), 4);
        EXPECT_EQ(w.findChild<QLineEdit*>("RDBEdit2")->maxLength(), 4);
        EXPECT_EQ(w.findChild<QLineEdit*>("RDBEdit8")->focusPolicy(), Qt::ClickFocus);
        EXPECT_EQ(w.findChild<QPushButton*>("BitBtn1")->focusPolicy(), Qt::NoFocus);
        EXPECT_TRUE(TextOf(w, "Label1").contains("https://"));
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(SettingsWindowTest, SavesEveryEditOnClose) {
    StartDesk();
    OpenSettings([](QDialog& w) {
        SetText(w, "RDBEdit9", "14");
        SetText(w, "RDBEdit11", "3");
        SetText(w, "RDBEdit2", "30");
        SetText(w, "RDBEdit7", "0042");
        SetText(w, "DBEdit3", "dbserver");
        w.findChild<QRadioButton*>("RadioGroup2Item0")->click();
        w.close();
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    const Values head = HeadRow();
    EXPECT_EQ(head.at("PM1"), engine::Value(14));
    EXPECT_EQ(head.at("kashisuu"), engine::Value(3));
    EXPECT_EQ(head.at("PM5"), engine::Value(42));
    EXPECT_EQ(head.at("HostName"), engine::Value("dbserver"));
    EXPECT_EQ(head.at("PM4"), engine::Value(0));
    EXPECT_EQ(head.at("PathName1"), engine::Value("C:\\Book\\"));
    const Values reg2 = RegRow(bookFolder, 2);
    EXPECT_EQ(reg2.at("N1"), engine::Value(30));
    EXPECT_EQ(reg2.at("N2"), engine::Value(0));
    EXPECT_EQ(Settings().IsbnLendingMode, 0);
    EXPECT_EQ(RegRow(bookFolder, 1).at("N2"), engine::Value(12));
    EXPECT_EQ(RegRow(bookFolder, 10).at("N1"), engine::Value(5));
}

TEST_F(SettingsWindowTest, SwitchingTheEngineSwapsThePanelsAndIsStoredOnClose) {
    StartDesk();
    Values storedOnClose;
    dialogs->Drive("kashidashi::THead1", [this](QDialog& w) {
        w.findChild<QRadioButton*>("RadioGroup1Item1")->click();
        EXPECT_TRUE(w.findChild<QFrame*>("Panel2")->isVisible());
        EXPECT_TRUE(w.findChild<QWidget*>("Label1")->isVisible());
        EXPECT_FALSE(w.findChild<QFrame*>("Panel3")->isVisible());
        EXPECT_FALSE(w.findChild<QWidget*>("Label4")->isVisible());
        EXPECT_TRUE(HeadRow().at("PM4").IsNull());  // not before the close
        w.findChild<QRadioButton*>("RadioGroup1Item0")->click();
        EXPECT_TRUE(w.findChild<QFrame*>("Panel3")->isVisible());
        EXPECT_FALSE(w.findChild<QFrame*>("Panel2")->isVisible());
        w.findChild<QRadioButton*>("RadioGroup1Item1")->click();
        w.close();
    });
    // The server cannot be reached, so the window comes again: back to local.
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    dialogs->Drive("kashidashi::THead1", [&](QDialog& w) {
        storedOnClose = HeadRow();
        w.findChild<QRadioButton*>("RadioGroup1Item0")->click();
        w.close();
    });
    Main().findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(storedOnClose.at("PM4"), engine::Value(1));
    EXPECT_EQ(HeadRow().at("PM4"), engine::Value(0));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(SettingsWindowTest, EmptyDataPathShowsTheDefaultAndClosingStoresIt) {
    StartDesk();
    ASSERT_TRUE(HeadRow().at("PathName1").IsNull());
    OpenSettings([](QDialog& w) {
        EXPECT_EQ(TextOf(w, "RDBEdit8"), QStringLiteral("C:\\Book\\"));
        w.close();
    });
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("C:\\Book\\"));
}

TEST_F(SettingsWindowTest, LettersInANumberEditAreToldAndNothingIsStored) {
    StartDesk();
    bool stayedOpen = false;
    OpenSettings([&](QDialog& w) {
        SetText(w, "RDBEdit9", "21");
        SetText(w, "RDBEdit2", "9");
        SetText(w, "RDBEdit7", "abcd");
        w.close();
        stayedOpen = w.isVisible();
        EXPECT_EQ(HeadRow().at("PM1"), engine::Value(5));
        EXPECT_EQ(RegRow(bookFolder, 2).at("N1"), engine::Value(7));
        SetText(w, "RDBEdit7", "5678");
        w.close();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dialogs->Texts(),
              std::vector<QString>{"「ユーザパスワード」には数字を入れてください。"});
    EXPECT_EQ(dialogs->Records().back().look, Kind::Warning);
    EXPECT_EQ(HeadRow().at("PM5"), engine::Value(5678));
    EXPECT_EQ(HeadRow().at("PM1"), engine::Value(21));
    EXPECT_EQ(RegRow(bookFolder, 2).at("N1"), engine::Value(9));
}

TEST_F(SettingsWindowTest, WithoutRegRow2TheOtherRegRowsStayUnchanged) {
    StartDesk(/*withRegRows=*/false);
    OpenSettings([](QDialog& w) {
        EXPECT_EQ(Group(w, "RadioGroup2")->ItemIndex(), -1);
        EXPECT_FALSE(w.findChild<QLineEdit*>("RDBEdit2")->isEnabled());
        w.findChild<QRadioButton*>("RadioGroup2Item1")->click();
        SetText(w, "RDBEdit9", "10");
        w.close();
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    const Values reg1 = RegRow(bookFolder, 1);
    EXPECT_EQ(reg1.at("N1"), engine::Value(11));
    EXPECT_EQ(reg1.at("N2"), engine::Value(12));
    EXPECT_TRUE(RegRow(bookFolder, 2).empty());
    EXPECT_EQ(Settings().IsbnLendingMode, 0);
    EXPECT_EQ(HeadRow().at("PM1"), engine::Value(10));
}

TEST_F(SettingsWindowTest, DataFolderTypedWithoutBackslashIsStoredWithOne) {
    StartDesk();
    MakeDataFolder(DriveFolder("D:\\Lib\\"));
    OpenSettings([](QDialog& w) {
        SetText(w, "RDBEdit8", "D:\\Lib");
        w.close();
    });
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("D:\\Lib\\"));
    EXPECT_EQ(Settings().DataFolder, "D:\\Lib\\");
}

TEST_F(SettingsWindowTest, ManualQuestionAnsweredCancelOpensNothing) {
    StartDesk();
    bool accepted = true;
    OpenSettings([&](QDialog& w) {
        dialogs->Answer(Kind::Question, Dialogs::Cancel);
        w.findChild<QRadioButton*>("RadioGroup1Item1")->click();
        Click(w, "Button2");
        auto* mail = w.findChild<kashidashi::TLibMail*>("LibMail1");
        accepted = mail->Accepted();
        EXPECT_EQ(mail->HomePageAddress(), QStringLiteral("http://"));
        w.findChild<QRadioButton*>("RadioGroup1Item0")->click();
        w.close();
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(dialogs->Texts(),
              std::vector<QString>{"インターネットへ接続して 説明文書を開きます。"});
    EXPECT_EQ(dialogs->Records().back().buttons, Dialogs::Yes | Dialogs::Cancel);
    EXPECT_EQ(dialogs->Records().back().look, Kind::Warning);
}

TEST_F(SettingsWindowTest, ManualQuestionAnsweredYesOpensTheManualPage) {
    StartDesk();
    bool accepted = false;
    QString address;
    OpenSettings([&](QDialog& w) {
        dialogs->Answer(Kind::Question, Dialogs::Yes);
        Click(w, "Button2");
        auto* mail = w.findChild<kashidashi::TLibMail*>("LibMail1");
        accepted = mail->Accepted();
        address = mail->HomePageAddress();
        w.close();
    });
    EXPECT_TRUE(accepted);
    EXPECT_TRUE(address.startsWith("https://"));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(SettingsWindowTest, ManualPageThatCannotBeOpenedIsTold) {
    StartDesk();
    setenv("KASHIDASHI_OPENER", (root / "no-such-opener").c_str(), 1);
    OpenSettings([&](QDialog& w) {
        dialogs->Answer(Kind::Question, Dialogs::Yes);
        dialogs->Answer(Kind::Warning, Dialogs::Ok);
        Click(w, "Button2");
        w.close();
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 2u);
    EXPECT_TRUE(dialogs->Texts()[1].startsWith("説明文書を開けませんでした。"));
}

TEST(LibMail, DefaultsAndOpenHomePage) {
    kashidashi::TLibMail mail;
    EXPECT_EQ(mail.HomePageAddress(), QStringLiteral("http://"));
    EXPECT_TRUE(mail.MailAddress().isEmpty());
    EXPECT_FALSE(mail.Accepted());
    setenv("KASHIDASHI_OPENER", "/bin/true", 1);
    mail.SetHomePageAddress("https://www.example.jp/");
    EXPECT_TRUE(mail.OpenHomePage());
    EXPECT_TRUE(mail.Accepted());
    setenv("KASHIDASHI_OPENER", "/nonexistent/opener", 1);
    EXPECT_FALSE(mail.OpenHomePage());
    EXPECT_FALSE(mail.Accepted());
    unsetenv("KASHIDASHI_OPENER");
}

}  // namespace
}  // namespace app_test
