// 図書館の管理 and バックアップ, offscreen, on a demo school: the backup
// folder chosen and stored in the desk's settings, a backup made on demand
// and listed with its rows, a restore after the question (and nothing
// restored when the answer is No), the day's backup started when the
// desk opens, once a day, kept by the retention, and a full disk said
// plainly by the window and the log.
#include <QTableWidget>
#include <filesystem>
#include <fstream>

#include "data/pin_constants.h"
#include "engine/common/dates.h"
#include "library/backup/U_Backup.h"
#include "library/backup/backup_folder.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/daily_backup.h"
#include "support/app_fixture.h"
#include "support/small_disk.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;
using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

class BackupWindowTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        data = DriveFolder("C:\\Book\\");
        MakeDemoFolder(data);
        backups = (root / "backups").string();
        fs::create_directories(backups);
    }
    void StartDesk(Values head = {}) {
        head["meisyou"] = engine::Value("若葉小学校");
        PrepareHead(head);
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    // The management window opened from the main window, its バックアップ
    // window driven by `drive`.
    void InBackupWindow(std::function<void(QDialog&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button1"); })
            .Drive("kashidashi::TBackup", std::move(drive));
    }
    size_t Files(const std::string& folder) {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            count += entry.path().extension() == ".kxbak";
        return count;
    }
    std::string data, backups;
};

QTableWidget& Grid(QDialog& window) {
    return *window.findChild<QTableWidget*>("Grid1");
}

TEST_F(BackupWindowTest, ABackupOnDemandIsListedAndRestoredAfterTheQuestion) {
    StartDesk();
    int listed = -1;
    QString books;
    InBackupWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(backups));
        Click(window, "Button2");
        Click(window, "Button3");
        listed = Grid(window).rowCount();
        books = Grid(window).item(0, 4) ? Grid(window).item(0, 4)->text() : "";
        RunSql(data, "Update Book Set syomei2='後から変えた書名' Where BOOK_ID=1");
        Grid(window).selectRow(0);
        Click(window, "Button4");  // answered No: nothing happens
        Click(window, "Button4");  // answered Yes
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Information, Dialogs::Ok)
        .Answer(Kind::Question, Dialogs::No)
        .Answer(Kind::Question, Dialogs::Yes)
        .Answer(Kind::Information, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(books, QStringLiteral("400"));
    EXPECT_EQ(HeadRow().at("PathName2"), engine::Value(backups));
    auto texts = dialogs->Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("バックアップしました。")))
        << texts[0].toStdString();
    EXPECT_TRUE(texts[1].contains(QStringLiteral("復元してよろしいですか？")));
    EXPECT_TRUE(texts[3].startsWith(QStringLiteral("復元しました。"))) << texts[3].toStdString();
    EXPECT_EQ(Files(backups), 2u);  // the one made, and the data before the restore
    DataQuery query("backup-window-read", data);
    query->SQL().SetText("SELECT syomei2 FROM Book WHERE BOOK_ID=1");
    query->Open();
    EXPECT_NE(query->FieldByName("syomei2").AsString(), "後から変えた書名");
}

TEST_F(BackupWindowTest, WithoutAFolderTheWindowSaysSo) {
    StartDesk();
    InBackupWindow([&](QDialog& window) {
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Warning, Dialogs::Ok);
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(dialogs->Texts()[0].startsWith(QStringLiteral("バックアップ先のフォルダを指定")));
}

// The desk's first opening of the day starts the day's backup in the
// background; a second opening that day does not.
TEST_F(BackupWindowTest, TheDesksFirstOpeningOfTheDayMakesTheDaysBackup) {
    StartDesk({{"PathName2", engine::Value(backups)}});
    dialogs->Drive("kashidashi::TFgyoumu1", [](QDialog&) {});
    Click(Main(), "Button2");
    kashidashi::library::WaitForDailyBackups();
    const engine::Date today = engine::Today();
    EXPECT_TRUE(fs::exists(fs::path(backups) / kashidashi::library::DailyBackupName(today)))
        << kashidashi::library::LastBackupLogLine(backups);
    EXPECT_NE(kashidashi::library::LastBackupLogLine(backups).find("自動バックアップ"),
              std::string::npos);
    dialogs->Drive("kashidashi::TFgyoumu1", [](QDialog&) {});
    Click(Main(), "Button2");
    kashidashi::library::WaitForDailyBackups();
    EXPECT_EQ(Files(backups), 1u);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// The day's backup on a fixed day: the retention removes the automatic
// backups it does not keep, and the log says what was done.
TEST_F(BackupWindowTest, TheDaysBackupAppliesTheRetention) {
    // Automatic backups by the marks inside them, as the day's backup makes them.
    auto made = [&](const std::string& name, engine::Date day, bool automatic) {
        const std::string file = (fs::path(backups) / name).string();
        std::ofstream(file) << "";
        kashidashi::library::BackupManifest manifest;
        manifest.madeAt = engine::FormatDateTime(engine::MakeDateTime(day, 12));
        manifest.automatic = automatic;
        kashidashi::library::SealBackup(file, manifest);
    };
    for (int day = 1; day <= 20; ++day)
        made(kashidashi::library::DailyBackupName(engine::MakeDate(2026, 11, day)),
             engine::MakeDate(2026, 11, day), true);
    made("kashidashi-20261101-120000.kxbak", engine::MakeDate(2026, 11, 1), false);  // on demand
    auto line = kashidashi::library::RunDailyBackup(kashidashi::library::DataPlace::Folder(data),
                                                    backups, engine::MakeDate(2026, 12, 10));
    EXPECT_NE(line.find("古いバックアップ 6 個を削除しました"), std::string::npos) << line;
    EXPECT_EQ(Files(backups), 21u + 1u - 6u);
    EXPECT_TRUE(fs::exists(fs::path(backups) / "kashidashi-20261101.kxbak"));  // November's first
    EXPECT_FALSE(fs::exists(fs::path(backups) / "kashidashi-20261107.kxbak"));
    auto list = kashidashi::library::ListBackups(backups);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(kashidashi::library::RunDailyBackup(kashidashi::library::DataPlace::Folder(data),
                                                  backups, engine::MakeDate(2026, 12, 10)),
              "");  // done already
}

// The backup folder on a disk too small for the backup (a real one, where
// the test may mount it): the window and the day's backup's log line say
// that the disk is full and name the folder; no file is left. As the second
// place, the log line says the copy there found the disk full.
TEST_F(BackupWindowTest, AFullDiskIsSaidInTheWindowAndTheLog) {
    const auto bytes = fs::file_size(fs::path(data) / "kashidashi.db");
    const std::string size = std::to_string(bytes / 2 / 1024) + "k";
    if (!MountSmallDisk(backups, size.c_str())) GTEST_SKIP() << "cannot mount a small disk here";
    StartDesk();
    InBackupWindow([&](QDialog& window) {
        SetText(window, "Edit1", QString::fromStdString(backups));
        Click(window, "Button2");
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Click(Main(), "Button3");
    const std::string line = kashidashi::library::RunDailyBackup(
        kashidashi::library::DataPlace::Folder(data), backups, engine::MakeDate(2026, 12, 10));
    const std::string logged = kashidashi::library::LastBackupLogLine(backups);
    // The small disk as the second place of a backup made elsewhere.
    const std::string elsewhere = (root / "elsewhere").string();
    fs::create_directories(elsewhere);
    const std::string second =
        kashidashi::library::RunDailyBackup(kashidashi::library::DataPlace::Folder(data), elsewhere,
                                            engine::MakeDate(2026, 12, 10), "", backups);
    const size_t left = Files(backups);
    UnmountSmallDisk(backups);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    const QString said = dialogs->Texts()[0];
    EXPECT_TRUE(
        said.startsWith(QStringLiteral("バックアップできませんでした。\r\nディスクの空きが"
                                       "足りません。")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QString::fromStdString("12004: " + backups + "/）")))
        << said.toStdString();
    for (const auto& text : {line, logged}) {
        EXPECT_NE(text.find("自動バックアップに失敗しました: ディスクの空きが足りません。"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("12004: " + backups + "/）"), std::string::npos) << text;
    }
    EXPECT_NE(second.find("を作りました。"), std::string::npos) << second;
    EXPECT_NE(second.find("2か所目の保存先「" + backups +
                          "」に写しを置けませんでした: ディスクの空きが足りません。"),
              std::string::npos)
        << second;
}

}  // namespace
}  // namespace library_test
