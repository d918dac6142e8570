// The backup folder over time, with a clock the test sets: the clean-up
// goes by the marks inside the files (never a backup made by hand, never the
// one just made, nothing while the clock is behind the newest backup), the
// list's kinds, the last sound backup and its age in school days, a second
// place, and the rules of a backup of an incomplete folder and of the repair
// of a wrong count.
#include <sqlite3.h>
#include <utime.h>

#include <QLabel>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "data/pin_constants.h"
#include "engine/common/dates.h"
#include "library/backup/U_Backup.h"
#include "library/backup/backup.h"
#include "library/backup/backup_folder.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/backup_status.h"
#include "library/backup/check.h"
#include "library/backup/daily_backup.h"
#include "support/app_fixture.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;
using namespace kashidashi::library;
using engine::MakeDate;
using kashidashi::Dialogs;

// A small sealed file that says it was made on `day`, automatically or not.
void SealedFile(const fs::path& path, engine::Date day, bool automatic) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t (x CHAR(10))", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    BackupManifest manifest;
    manifest.madeAt = engine::FormatDateTime(engine::MakeDateTime(day, 17));
    manifest.automatic = automatic;
    SealBackup(path.string(), manifest);
}

std::string AutoName(engine::Date day) {
    return "auto-" + std::to_string(day.days) + ".kxbak";
}

class BackupClockTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = (root / "backups").string();
        fs::create_directories(folder);
    }
    void TearDown() override {
        engine::SetFixedNow(std::nullopt);
        AppFixture::TearDown();
    }
    // Automatic backups made on each of `count` days from `first`.
    void Days(engine::Date first, int count) {
        for (int i = 0; i < count; ++i)
            SealedFile(fs::path(folder) / AutoName({first.days + i}), {first.days + i}, true);
    }
    bool Has(const std::string& name) { return fs::exists(fs::path(folder) / name); }
    std::string folder;
};

TEST_F(BackupClockTest, TheCleanUpGoesByTheMarksAndTheClock) {
    struct Case {
        const char* what;
        engine::Date today;
        const char* keep;  // the backup just made
        size_t removed;
        bool clockBehind;
    };
    const engine::Date nov1 = MakeDate(2026, 11, 1);
    const std::string nov3 = AutoName(MakeDate(2026, 11, 3));
    const Case cases[] = {
        // 20 days: the 14 newest and November's first stay.
        {"the clock right", MakeDate(2026, 12, 10), "", 5, false},
        {"the one just made is old", MakeDate(2026, 12, 10), nov3.c_str(), 4, false},
        {"the clock behind the newest", MakeDate(2026, 11, 19), "", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        Days(nov1, 20);
        SealedFile(fs::path(folder) / "kashidashi-20261102.kxbak", MakeDate(2026, 11, 2), false);
        std::ofstream(fs::path(folder) / "kashidashi-20261104.kxbak") << "not a backup";
        auto outcome = ApplyRetention(folder, c.keep, c.today);
        EXPECT_EQ(outcome.removed.size(), c.removed);
        EXPECT_EQ(outcome.clockBehind, c.clockBehind);
        EXPECT_TRUE(Has("kashidashi-20261102.kxbak"));  // made by hand, named like a daily one
        EXPECT_TRUE(Has("kashidashi-20261104.kxbak"));
        EXPECT_TRUE(Has(AutoName(nov1)));                   // November's first
        EXPECT_TRUE(Has(AutoName(MakeDate(2026, 11, 7))));  // the fourteenth newest
        if (*c.keep) EXPECT_TRUE(Has(c.keep));
    }
}

// The day's backup with the clock set back: nothing is removed, the backup
// just made stays, and the log and the window say why.
TEST_F(BackupClockTest, ABackupWithTheClockBehindRemovesNothingAndSaysSo) {
    std::string data = (root / "school").string();
    MakeDemoFolder(data);
    Days(MakeDate(2026, 11, 1), 20);
    engine::SetFixedNow(engine::MakeDateTime(MakeDate(2026, 11, 15), 8));
    auto line = RunDailyBackup(DataPlace::Folder(data), folder, MakeDate(2026, 11, 15));
    EXPECT_NE(line.find("時計が最新のバックアップより前の日付"), std::string::npos) << line;
    EXPECT_TRUE(Has(DailyBackupName(MakeDate(2026, 11, 15))));
    EXPECT_EQ(ListBackups(folder).size(), 21u);
    PrepareHead({{"PathName2", engine::Value(folder)}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    kashidashi::TBackup window(nullptr);
    EXPECT_TRUE(window.findChild<QLabel*>("Label2")->text().contains(QStringLiteral("時計")));
}

// What the list calls each file: a month's first kept only as such is 月次.
TEST_F(BackupClockTest, TheListsKinds) {
    SealedFile(fs::path(folder) / AutoName(MakeDate(2026, 10, 1)), MakeDate(2026, 10, 1), true);
    Days(MakeDate(2026, 11, 1), 20);
    SealedFile(fs::path(folder) / "mine.kxbak", MakeDate(2026, 11, 20), false);
    std::map<std::string, std::string> kinds;
    for (const auto& entry : ListBackups(folder)) kinds[entry.name] = entry.kind;
    const std::pair<engine::Date, const char*> cases[] = {
        {MakeDate(2026, 10, 1), "月次"},
        {MakeDate(2026, 11, 1), "月次"},
        {MakeDate(2026, 11, 2), "日次"},
        {MakeDate(2026, 11, 20), "日次"},
    };
    for (const auto& [day, kind] : cases) EXPECT_EQ(kinds[AutoName(day)], kind) << day.days;
    EXPECT_EQ(kinds["mine.kxbak"], "手動");
}

TEST_F(BackupClockTest, TheLastSoundBackupAndItsAgeInSchoolDays) {
    const engine::Date friday = MakeDate(2026, 12, 11);
    struct Days {
        engine::Date from, to;
        int school;
    };
    const Days days[] = {{friday, MakeDate(2026, 12, 14), 1},
                         {friday, MakeDate(2026, 12, 15), 2},
                         {friday, MakeDate(2026, 12, 16), 3},
                         {MakeDate(2026, 12, 7), friday, 4}};
    for (const auto& d : days) EXPECT_EQ(SchoolDaysBetween(d.from, d.to), d.school) << d.to.days;

    std::string data = (root / "school").string();
    MakeDemoFolder(data);
    const fs::path sound = fs::path(folder) / "kashidashi-20261211-170000.kxbak";
    MakeBackup(DataPlace::Folder(data), sound.string());
    auto stamp = [&](const fs::path& file, int day) {  // written on 2026/12/`day` 17:00
        std::tm local{};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 11;
        local.tm_mday = day;
        local.tm_hour = 17;
        local.tm_isdst = -1;
        std::time_t at = std::mktime(&local);
        struct utimbuf times {
            at, at
        };
        utime(file.c_str(), &times);
    };
    stamp(sound, 11);
    fs::path newer = fs::path(folder) / "kashidashi-20261212-170000.kxbak";
    fs::copy_file(sound, newer);
    std::fstream(newer, std::ios::in | std::ios::out | std::ios::binary).seekp(5000).put('X');
    stamp(newer, 12);  // damaged: not the last sound one
    auto today = [](int day) { return MakeDate(2026, 12, day); };
    auto status = DeskBackupStatus(folder, today(15));
    EXPECT_NE(status.line.find("最後の正常なバックアップ: "), std::string::npos);
    EXPECT_EQ(status.warning, "");
    status = DeskBackupStatus(folder, today(16));
    EXPECT_NE(status.warning.find("3 授業日前"), std::string::npos) << status.warning;
    status = DeskBackupStatus((root / "unplugged").string(), today(16));
    EXPECT_NE(status.warning.find("が見つかりません"), std::string::npos);
    EXPECT_EQ(DeskBackupStatus("", today(16)).warning, "");
    EXPECT_NE(DeskBackupStatus("", today(16)).line.find("バックアップ先が決まっていません"),
              std::string::npos);
}

// The main window shows the last sound backup; an old one is said once, at
// the desk's first opening.
TEST_F(BackupClockTest, TheMainWindowShowsTheLastBackupAndWarnsOnce) {
    std::string data = DriveFolder("C:\\Book\\");
    MakeDemoFolder(data);
    const fs::path made = fs::path(folder) / "kashidashi-20261201-170000.kxbak";
    MakeBackup(DataPlace::Folder(data), made.string());
    fs::last_write_time(made, fs::file_time_type::clock::now() - std::chrono::hours(24 * 10));
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}, {"PathName2", engine::Value(folder)}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);
    for (int opening = 0; opening < 2; ++opening) {
        dialogs->Drive("kashidashi::TFgyoumu1", [](QDialog&) {});
        Click(Main(), "Button2");
    }
    WaitForDailyBackups();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    auto texts = dialogs->Texts();
    ASSERT_EQ(texts.size(), 1u) << dialogs->Describe();
    EXPECT_TRUE(texts[0].contains(QStringLiteral("授業日前"))) << texts[0].toStdString();
    EXPECT_TRUE(Main()
                    .findChild<QLabel*>("LabelBackup")
                    ->text()
                    .startsWith(QStringLiteral("最後の正常なバックアップ: ")));
}

// Each automatic backup is copied to the second place and checked there; a
// second place not to be found is said in the log.
TEST_F(BackupClockTest, ASecondPlace) {
    std::string data = (root / "school").string();
    MakeDemoFolder(data);
    std::string second = (root / "stick").string();
    fs::create_directories(second);
    auto line = RunDailyBackup(DataPlace::Folder(data), folder, MakeDate(2026, 12, 10), "", second);
    EXPECT_NE(line.find("にも写しを置き、確かめました"), std::string::npos) << line;
    EXPECT_TRUE(SealProblems(second + "/" + DailyBackupName(MakeDate(2026, 12, 10))).empty());
    line = RunDailyBackup(DataPlace::Folder(data), folder, MakeDate(2026, 12, 11), "",
                          (root / "unplugged").string());
    EXPECT_NE(line.find("が見つからないため"), std::string::npos) << line;
    EXPECT_TRUE(Has(DailyBackupName(MakeDate(2026, 12, 11))));
}

// A folder that lacks a data table: the backup fails and leaves nothing.
TEST_F(BackupClockTest, ABackupOfAFolderLackingATableLeavesNoFile) {
    std::string data = (root / "school").string();
    MakeDemoFolder(data);
    sqlite3* db = nullptr;
    sqlite3_open((data + "/kashidashi.db").c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE SYOZOKU", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const std::string file = folder + "/lacking.kxbak";
    EXPECT_THROW(MakeBackup(DataPlace::Folder(data), file), std::exception);
    EXPECT_TRUE(fs::is_empty(folder));
    auto line = RunDailyBackup(DataPlace::Folder(data), folder, MakeDate(2026, 12, 10));
    EXPECT_NE(line.find("自動バックアップに失敗しました"), std::string::npos) << line;
    EXPECT_FALSE(Has(DailyBackupName(MakeDate(2026, 12, 10))));
}

// The repair of a wrong count: a user without loans counted 3 is set to 0,
// one 修復 line, and every right count stays as it was.
TEST_F(BackupClockTest, TheRepairOfAWrongCountMendsOnlyIt) {
    std::string data = (root / "school").string();
    MakeDemoFolder(data);
    auto counts = [&] {
        std::map<std::string, std::string> read;
        sqlite3* db = nullptr;
        sqlite3_open((data + "/kashidashi.db").c_str(), &db);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT NAME_ID, quote(mihenkyakuSU) FROM Name", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            read[reinterpret_cast<const char*>(sqlite3_column_text(s, 0))] =
                reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
        sqlite3_finalize(s);
        sqlite3_close(db);
        return read;
    };
    ASSERT_TRUE(CheckPlace(DataPlace::Folder(data), false).Clean());
    auto right = counts();
    std::string idle;  // a user without loans
    for (const auto& [user, count] : right)
        if (count == "0") idle = user;
    ASSERT_FALSE(idle.empty());
    RunSql(data, "Update Name Set mihenkyakuSU=3 Where NAME_ID='" + idle + "'");
    auto report = CheckPlace(DataPlace::Folder(data), true);
    ASSERT_EQ(report.repairs.size(), 1u);
    EXPECT_EQ(report.repairs[0], "修復: 利用者 " + idle + " の未返却数を 0 にしました");
    EXPECT_EQ(counts(), right);
}

}  // namespace
}  // namespace library_test
