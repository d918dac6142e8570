// The start-up sequence on real windows: first start, an upgraded old head,
// the school name window, the shared settings of Reg, the start-up guard.
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "app/U_PassChk.h"
#include "app/U_SetUpHoujinmei.h"
#include "support/app_fixture.h"
#include "data/pin_constants.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

const QString kSchool = QStringLiteral("若葉町立若葉小学校");

class StartUpTest : public AppFixture {};

TEST_F(StartUpTest, FirstStartInAnEmptyFolder) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    dialogs->Drive("kashidashi::TPW", [](QDialog& w) {
        EXPECT_EQ(TextOf(w, "Edit1"), QString::fromLatin1(kashidashi::kDefaultPinText));
        Click(w, "BitBtn1");
    });
    dialogs->Drive("kashidashi::TSetUphoujinmei", NameSchool(kSchool));
    Start();

    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0);
    EXPECT_EQ(Main().StartUpGuard(), kashidashi::TMain2::kGuardStarted);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(TextOf(Main(), "Edit1"), QStringLiteral("C:\\Book\\"));
    EXPECT_EQ(TextOf(Main(), "L3"), QStringLiteral("更新日2020年07月29日"));
    EXPECT_TRUE(Main().findChild<QPushButton*>("Button1")->isEnabled());
    EXPECT_TRUE(Main().findChild<QPushButton*>("Button2")->isEnabled());
    EXPECT_EQ(Settings().ProgramFolder, programFolder);
    EXPECT_EQ(Settings().DataFolder, "C:\\Book\\");
    EXPECT_EQ(Settings().ProductCode, "PKV3R");
    EXPECT_EQ(Settings().UserNumberMode, 5);
    EXPECT_EQ(Settings().IsbnLendingMode, 1);

    const Values head = HeadRow();
    EXPECT_EQ(head.at("meisyou"), engine::Value(kSchool.toStdString()));
    EXPECT_EQ(head.at("PM5"), engine::Value(kashidashi::kDefaultPin));
    // The data folder was found by its default; head keeps the empty value.
    EXPECT_TRUE(head.at("PathName1").IsNull());
    const std::pair<const char*, const char*> tables[] = {
        {"wk", "syomei"}, {"head", "PM8"}, {"Regist", "ID"}, {"WK01", "BOOK_ID"}};
    for (const auto& [table, column] : tables)
        EXPECT_TRUE(HasColumn(programFolder, table, column)) << table;
}

TEST_F(StartUpTest, SchoolNameOfBlanksKeepsTheWindowOpen) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    bool stayedOpen = false;
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    dialogs->Drive("kashidashi::TSetUphoujinmei", [&](QDialog& w) {
        SetText(w, "DBEdit2", QStringLiteral("　 　"));
        Click(w, "Button1");
        w.close();   // no close box: the window manager's close is refused too
        w.reject();  // and so is Esc
        stayedOpen = w.isVisible();
        SetText(w, "DBEdit2", QStringLiteral("若葉　小学校 "));
        Click(w, "Button1");
        EXPECT_FALSE(w.isVisible());
    });
    Start();

    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    // Stored as typed; the engine drops only the trailing ASCII blank.
    EXPECT_EQ(HeadRow().at("meisyou"), engine::Value(std::string("若葉　小学校")));
}

TEST_F(StartUpTest, NamedSchoolIsNotAskedAgain) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    EXPECT_EQ(dialogs->Windows(), std::vector<QString>{"kashidashi::TPW"});
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(StartUpTest, UpgradedOldHead) {
    const std::string data = (root / "lib").string();
    MakeDataFolder(data);
    RunSql(programFolder,
           "CREATE TABLE Head (meisyou CHARACTER(30), daihyou CHARACTER(20), PostNo CHARACTER(15),"
           " jyusyo CHARACTER(100), tel CHARACTER(15), PM1 INTEGER, PM2 INTEGER, PM3 INTEGER,"
           " PM4 INTEGER, PM5 INTEGER, nendo INTEGER, PathName1 CHARACTER(100),"
           " PathName2 CHARACTER(100), date1 DATE, date2 DATE, kashisuu INTEGER,"
           " seito_No1 CHARACTER(5), seito_No2 CHARACTER(5), UserName CHARACTER(20),"
           " UserPW CHARACTER(20), HostName CHARACTER(20), portNo INTEGER,"
           " DataBaseName CHARACTER(20))");
    RunSql(programFolder,
           "INSERT INTO Head (meisyou, daihyou, PM1, PM5, nendo, PathName1, kashisuu, UserName)"
           " VALUES ('県立若葉高校', '山田', 7, 4321, 2019, '" +
               data + "', 3, 'Admin')");
    dialogs->Drive("kashidashi::TPW", EnterPin("4321"));
    Start();

    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(ColumnSize(programFolder, "head", "meisyou"), 100);
    EXPECT_TRUE(HasColumn(programFolder, "head", "PM8"));
    EXPECT_TRUE(HasColumn(programFolder, "head", "PathName3"));
    const Values head = HeadRow();
    EXPECT_EQ(head.at("meisyou"), engine::Value("県立若葉高校"));
    EXPECT_EQ(head.at("daihyou"), engine::Value("山田"));
    EXPECT_EQ(head.at("PM1"), engine::Value(7));
    EXPECT_EQ(head.at("nendo"), engine::Value(2019));
    EXPECT_TRUE(head.at("PM8").IsNull());
    EXPECT_TRUE(head.at("PathName3").IsNull());
    // The old data folder, written without a trailing separator, is used with one.
    EXPECT_EQ(TextOf(Main(), "Edit1"), QString::fromStdString(data + "/"));
    EXPECT_EQ(Settings().UserNumberMode, 5);
}

TEST_F(StartUpTest, RegainingFocusDoesNotAskForThePinAgain) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    ASSERT_EQ(dialogs->Records().size(), 1u);

    Settings().ProductCode.clear();
    Main().activateWindow();
    Main().FormActivate();
    dialogs->Drive("kashidashi::TFgyoumu1", [](QDialog& desk) { desk.close(); });
    Main().Button2Click();  // the desk above the window, then back
    Main().FormActivate();
    Settle();
    EXPECT_EQ(dialogs->Windows(),
              (std::vector<QString>{"kashidashi::TPW", "kashidashi::TFgyoumu1"}));
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
    EXPECT_EQ(Settings().ProductCode, "PKV3R");
    EXPECT_EQ(Main().StartUpGuard(), kashidashi::TMain2::kGuardStarted);
}

TEST_F(StartUpTest, RegWithoutRows2And10) {
    MakeDataFolder(DriveFolder("C:\\Book\\"), /*withRegRows=*/false);
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(Settings().UserNumberMode, 4);
    EXPECT_EQ(Settings().IsbnLendingMode, 0);
}

TEST_F(StartUpTest, ShortDateFormatIsYearMonthDay) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    EXPECT_EQ(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("yyyy/MM/dd"));
    EXPECT_EQ(QLocale().toString(QDate(2024, 4, 1), QLocale::ShortFormat),
              QStringLiteral("2024/04/01"));
}

TEST_F(StartUpTest, WindowsAreCreatedAsTheEntryCreatesThem) {
    windows = std::make_unique<kashidashi::StartWindows>();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("貸出・返却"));
    EXPECT_EQ(Main().size(), QSize(696, 412));
    EXPECT_EQ(Main().ProgramFolder(), programFolder);
    EXPECT_EQ(Main().StartUpGuard(), kashidashi::TMain2::kGuardCreated);
    EXPECT_FALSE(kashidashi::TPassChk::Instance().isVisible());
    EXPECT_NO_THROW(kashidashi::StartWindows::MakeTable());
    EXPECT_EQ(TextOf(Main(), "Panel1"), QStringLiteral("貸　出　と　返　却"));
    EXPECT_EQ(TextOf(Main(), "LabelVup"),
              QStringLiteral(
                  "バージョンアップの有無はバージョンアップボタンをクリックしてご確認ください。"));
    // Nothing is asked before the window is shown.
    EXPECT_TRUE(dialogs->Records().empty());
}

}  // namespace
}  // namespace app_test
