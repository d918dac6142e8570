// SetPath: the local data folder (default, trailing separator, missing folder
// answered Yes or No, a folder without the data tables) and the client/server
// mode, whose failing connection leads through the settings window.
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/radio_group.h"
#include "support/app_fixture.h"
#include "data/pin_constants.h"
#include "engine/session/database.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

const QString kDataFolderWrong = QStringLiteral(
    "データパス名の設定が間違っています。\r\n"
    "設定をやり直す場合は 「はい」 、終了する場合は 「いいえ」 を選択してください。");
const QString kConnectFailed = QStringLiteral(
    "データベースの接続に失敗しました。\r"
    "サーバが正常に機能していないか、初期設定のデータベースエンジンの設定が正しくないない、"
    "などが考えられます。");

class SetPathTest : public AppFixture {
  protected:
    // A head with the values and a named school, and the PIN prompt answered;
    // the test scripts what comes after, then starts.
    void PrepareDesk(Values values) {
        values["meisyou"] = engine::Value("若葉小学校");
        PrepareHead(values);
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    }
    void StartWithHead(Values values) {
        PrepareDesk(std::move(values));
        Start();
    }
};

TEST_F(SetPathTest, PathWithoutTrailingBackslashGetsOne) {
    MakeDataFolder(DriveFolder("D:\\Lib\\"));
    StartWithHead({{"PathName1", engine::Value("D:\\Lib")}});
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("D:\\Lib\\"));
    EXPECT_EQ(Settings().DataFolder, "D:\\Lib\\");
    EXPECT_EQ(kashidashi::TDM::Instance().DBDatabase1.Directory(), "D:\\Lib\\");
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("D:\\Lib"));
    EXPECT_EQ(Settings().UserNumberMode, 5);
}

TEST_F(SetPathTest, Pm4Of2IsLocal) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    StartWithHead({{"PM4", engine::Value(2)}, {"HostName", engine::Value("dbserver")}});
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(Settings().ServerMode, 2);
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("C:\\Book\\"));
    EXPECT_EQ(kashidashi::TDM::Instance().DBSession1.GetSessionType(),
              engine::SessionType::stLocal);
}

TEST_F(SetPathTest, MissingDataFolderAnsweredNoEndsTheProgram) {
    PrepareDesk({{"PathName1", engine::Value("C:\\Nowhere\\")}});
    dialogs->Answer(Kind::Question, Dialogs::No);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts(), std::vector<QString>{kDataFolderWrong});
    EXPECT_EQ(dialogs->Records().back().look, Kind::Warning);
    EXPECT_EQ(dialogs->Records().back().buttons, Dialogs::Yes | Dialogs::No | Dialogs::Cancel);
    EXPECT_FALSE(Main().isVisible());
    // The steps after SetPath did not run.
    EXPECT_TRUE(TextOf(Main(), "L3").isEmpty());
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("C:\\Nowhere\\"));
}

TEST_F(SetPathTest, MissingDataFolderAnsweredCancelEndsTheProgram) {
    PrepareDesk({{"PathName1", engine::Value("C:\\Nowhere\\")}});
    dialogs->Answer(Kind::Question, Dialogs::Cancel);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_FALSE(Main().isVisible());
}

TEST_F(SetPathTest, MissingDataFolderAnsweredYesLeadsThroughTheSettingsWindow) {
    MakeDataFolder(DriveFolder("D:\\Lib\\"));
    PrepareDesk({{"PathName1", engine::Value("C:\\Nowhere\\")}});
    dialogs->Answer(Kind::Question, Dialogs::Yes);
    dialogs->Drive("kashidashi::THead1", [](QDialog& w) {
        EXPECT_EQ(TextOf(w, "RDBEdit8"), QStringLiteral("C:\\Nowhere\\"));
        SetText(w, "RDBEdit8", QStringLiteral("D:\\Lib"));
        Click(w, "BitBtn1");
    });
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("D:\\Lib\\"));
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("D:\\Lib\\"));
    EXPECT_EQ(TextOf(Main(), "L3"), QStringLiteral("更新日2020年07月29日"));
    EXPECT_EQ(Settings().UserNumberMode, 5);
}

TEST_F(SetPathTest, FailingServerConnectionLeadsToTheSettingsWindow) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareDesk({{"PM4", engine::Value(1)}, {"HostName", engine::Value("dbserver")}});
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    dialogs->Drive("kashidashi::THead1", [](QDialog& w) {
        auto* group = w.findChild<kashidashi::TRadioGroup*>("RadioGroup1");
        EXPECT_EQ(group->ItemIndex(), 1);
        EXPECT_TRUE(w.findChild<QFrame*>("Panel2")->isVisible());
        EXPECT_FALSE(w.findChild<QFrame*>("Panel3")->isVisible());
        EXPECT_EQ(TextOf(w, "DBEdit3"), QStringLiteral("dbserver"));
        w.close();  // unchanged: the server is tried again
    });
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    dialogs->Drive("kashidashi::THead1", [](QDialog& w) {
        w.findChild<QRadioButton*>("RadioGroup1Item0")->click();
        EXPECT_FALSE(w.findChild<QFrame*>("Panel2")->isVisible());
        EXPECT_TRUE(w.findChild<QFrame*>("Panel3")->isVisible());
        w.close();
    });
    Start();

    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Texts(), (std::vector<QString>{kConnectFailed, kConnectFailed}));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(HeadRow().at("PM4"), engine::Value(0));
    EXPECT_EQ(HeadRow().at("PathName1"), engine::Value("C:\\Book\\"));
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("C:\\Book\\"));
    EXPECT_EQ(Settings().UserNumberMode, 5);
}

TEST_F(SetPathTest, ServerSettingsReachTheRemoteSession) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    engine::TDBSession::Remote seen;
    std::string remoteDatabase;
    PrepareDesk({{"PM4", engine::Value(1)},
                 {"HostName", engine::Value("dbserver")},
                 {"UserName", engine::Value("desk")},
                 {"UserPW", engine::Value("secret")},
                 {"portNo", engine::Value(5433)},
                 {"DataBaseName", engine::Value("School")}});
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    dialogs->Drive("kashidashi::THead1", [&](QDialog& w) {
        seen = kashidashi::TDM::Instance().DBSession1.RemoteSettings();
        remoteDatabase = kashidashi::TDM::Instance().DBDatabase1.RemoteDatabase();
        w.findChild<QRadioButton*>("RadioGroup1Item0")->click();
        w.close();
    });
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(seen.host, "dbserver");
    EXPECT_EQ(seen.user, "desk");
    EXPECT_EQ(seen.password, "secret");
    EXPECT_EQ(seen.port, 5433);
    EXPECT_EQ(remoteDatabase, "School");
    EXPECT_EQ(kashidashi::TDM::Instance().DBSession1.GetSessionType(),
              engine::SessionType::stLocal);
}

TEST_F(SetPathTest, DataFolderWithoutTheDataTables) {
    std::filesystem::create_directories(DriveFolder("C:\\Book\\"));
    PrepareDesk({});
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(dialogs->Texts()[0].contains("Reg")) << dialogs->Texts()[0].toStdString();
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(Settings().UserNumberMode, 0);
    EXPECT_EQ(Settings().IsbnLendingMode, 0);
    EXPECT_TRUE(Main().findChild<QPushButton*>("Button1")->isEnabled());
}

TEST_F(SetPathTest, Button1ReconnectsAfterTheSettingsWindow) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    MakeDataFolder(DriveFolder("E:\\Shared\\"));
    StartWithHead({});
    dialogs->Drive("kashidashi::THead1", [](QDialog& w) {
        SetText(w, "RDBEdit8", QStringLiteral("E:\\Shared\\"));
        w.close();
    });
    Main().findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("E:\\Shared\\"));
    EXPECT_EQ(kashidashi::TDM::Instance().DBDatabase1.Directory(), "E:\\Shared\\");
}

}  // namespace
}  // namespace app_test
