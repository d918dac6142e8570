// What a backup knows of itself and what is told of it: a checksum over the
// whole file (one byte flipped anywhere is refused by check and restore), the
// layout and the school's identity (another school's backup only after a
// second yes; a file lacking columns refused), a test restore after each
// automatic backup; a check that rolls back an interrupted write first;
// scratch copies and staging folders of killed processes removed by the
// next run.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/common/dates.h"
#include "library/backup/backup.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/check.h"
#include "library/backup/daily_backup.h"
#include "library/backup/restore.h"
#include "library/backup/school_identity.h"
#include "support/app_fixture.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;
using namespace kashidashi::library;

std::string Bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs `work` in a child process that is killed once `work` has signalled
// (by returning); the child's pid.
pid_t KilledAfter(const std::function<void()>& work) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
        work();
        char byte = 'y';
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char byte = 0;
    bool done = read(ready[0], &byte, 1) == 1;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    return done ? child : -1;
}

class BackupTrustTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        data = (root / "school").string();
        MakeDemoFolder(data);
    }
    std::string NewFolder(const std::string& name) {
        fs::create_directories(root / name);
        return (root / name).string();
    }
    std::string Backup(const std::string& folder, const std::string& name,
                       const BackupOptions& options = {}) {
        std::string file = (root / name).string();
        MakeBackup(DataPlace::Folder(folder), file, {}, options);
        return file;
    }
    std::string data;
};

// Every one of many single flipped bytes over a small backup's whole length
// is found by check and refused by restore, and the school stays as it was.
TEST_F(BackupTrustTest, OneFlippedByteAnywhereIsRefused) {
    std::string small = NewFolder("small");
    MakeDataFolder(small);
    std::string file = Backup(small, "small.kxbak");
    const std::string sound = Bytes(file);
    ASSERT_TRUE(BackupFileProblems(file).empty());
    ASSERT_TRUE(CheckPlace(DataPlace::BackupFile(file), false).Clean());
    const std::string books = Bytes(data + "/kashidashi.db");
    int tried = 0;
    for (size_t offset = 0; offset < sound.size(); offset += 1 + sound.size() / 600) {
        std::string flipped = sound;
        flipped[offset] = static_cast<char>(flipped[offset] ^ 0x5a);
        Write(file, flipped);
        EXPECT_FALSE(CheckPlace(DataPlace::BackupFile(file), false).Clean()) << offset;
        EXPECT_THROW(Restore(file, DataPlace::Folder(data), (root / "before.kxbak").string()),
                     std::exception)
            << offset;
        ++tried;
        if (HasFailure()) break;
    }
    EXPECT_GT(tried, 500);
    EXPECT_EQ(Bytes(data + "/kashidashi.db"), books);
    EXPECT_FALSE(fs::exists(root / "before.kxbak"));
}

// The manifest says the layout, the school and how the backup was made; a
// file whose tables lack columns is refused however sound it is otherwise.
TEST_F(BackupTrustTest, TheManifestAndAFileLackingColumns) {
    BackupOptions options;
    options.schoolName = "若葉小学校";
    options.automatic = true;
    auto manifest = ReadManifest(Backup(data, "one.kxbak", options));
    ASSERT_TRUE(manifest);
    PlaceConnection connection(DataPlace::Folder(data));
    auto school = ReadSchoolIdentity(*connection);
    ASSERT_TRUE(school);
    EXPECT_EQ(manifest->layout, kDataLayoutVersion);
    EXPECT_EQ(manifest->schoolId, school->id);
    EXPECT_EQ(school->id.size(), 36u);
    EXPECT_EQ(manifest->schoolName, "若葉小学校");
    EXPECT_TRUE(manifest->automatic);
    EXPECT_FALSE(ReadManifest(Backup(data, "two.kxbak"))->automatic);
    EXPECT_EQ(ReadManifest((root / "two.kxbak").string())->schoolId, school->id);  // kept

    // Ten one-column tables, sealed as a backup would be.
    const std::string thin = (root / "thin.kxbak").string();
    sqlite3* db = nullptr;
    sqlite3_open(thin.c_str(), &db);
    for (const char* table :
         {"Book", "Name", "kashibo", "yoyaku", "NDC", "HKN", "ZAIGEN", "UKEIRE", "SYOZOKU", "Reg"})
        sqlite3_exec(db, ("CREATE TABLE \"" + std::string(table) + "\" (x CHAR(10))").c_str(),
                     nullptr, nullptr, nullptr);
    sqlite3_close(db);
    SealBackup(thin, BackupManifest{});
    auto problems = BackupFileProblems(thin);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems.front(), "Book 表に BOOK_ID 列がありません");
    EXPECT_THROW(Restore(thin, DataPlace::Folder(data), (root / "b.kxbak").string()),
                 std::runtime_error);
    EXPECT_FALSE(ReadSchoolIdentity(*connection) == std::nullopt);
}

// Another school's backup: refused with both names unless the second
// question says yes; the school's own needs no question.
TEST_F(BackupTrustTest, AnotherSchoolsBackupIsAskedAgain) {
    std::string other = NewFolder("other");
    MakeDemoFolder(other);
    BackupOptions ours, theirs;
    ours.schoolName = "若葉小学校";
    theirs.schoolName = "青葉中学校";
    std::string own = Backup(data, "own.kxbak", ours);
    std::string foreign = Backup(other, "foreign.kxbak", theirs);
    int asked = 0;
    auto answer = [&](bool yes) {
        return [&asked, yes](const SchoolIdentity& backup, const SchoolIdentity& dest) {
            ++asked;
            EXPECT_EQ(backup.name, "青葉中学校");
            EXPECT_EQ(dest.name, "若葉小学校");
            return yes;
        };
    };
    try {
        Restore(foreign, DataPlace::Folder(data), (root / "b1.kxbak").string(), {}, answer(false));
        ADD_FAILURE() << "restored another school's backup after a no";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("別の学校（「青葉中学校」）"), std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("「若葉小学校」"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(root / "b1.kxbak"));
    EXPECT_NO_THROW(
        Restore(own, DataPlace::Folder(data), (root / "b2.kxbak").string(), {}, answer(false)));
    EXPECT_EQ(asked, 1);
    EXPECT_NO_THROW(
        Restore(foreign, DataPlace::Folder(data), (root / "b3.kxbak").string(), {}, answer(true)));
    EXPECT_EQ(asked, 2);
    PlaceConnection connection(DataPlace::Folder(data));
    EXPECT_EQ(ReadSchoolIdentity(*connection)->name, "青葉中学校");  // its data, its name
}

// The day's backup is restored into a scratch folder and checked; the log
// says so, and no scratch folder stays.
TEST_F(BackupTrustTest, EachAutomaticBackupIsTestRestored) {
    std::string backups = NewFolder("backups");
    auto line = RunDailyBackup(DataPlace::Folder(data), backups, engine::MakeDate(2026, 12, 10));
    EXPECT_NE(line.find("試しの復元と点検: 問題ありません。"), std::string::npos) << line;
    EXPECT_EQ(LastBackupLogLine(backups).find(line), 20u) << LastBackupLogLine(backups);
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        EXPECT_NE(entry.path().filename().string().rfind(ScratchPrefix(), 0), 0u) << entry.path();
}

// A desk killed in the middle of a commit leaves its journal: the check
// rolls it back as a writer would, says so, and then finds the data whole.
TEST_F(BackupTrustTest, ACheckRollsBackAnInterruptedWriteFirst) {
    const std::string database = data + "/kashidashi.db";
    const std::string before = Bytes(database);
    pid_t killed = KilledAfter([&] {
        sqlite3* db = nullptr;
        sqlite3_open(database.c_str(), &db);
        // A cache of one page: the changed pages reach the file before the commit.
        sqlite3_exec(db, "PRAGMA cache_size=1; BEGIN; UPDATE Book SET syomei2='途中'", nullptr,
                     nullptr, nullptr);
    });
    ASSERT_GT(killed, 0);
    ASSERT_TRUE(fs::exists(database + "-journal"));
    ASSERT_NE(Bytes(database), before);  // the interrupted write is in the file
    CheckReport report = CheckPlace(DataPlace::Folder(data), false);
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_EQ(report.notes[0], "中断された書き込みがありました。元に戻してから点検しました。");
    EXPECT_TRUE(report.Clean()) << (report.findings.empty() ? "" : report.findings[0]);
    EXPECT_FALSE(fs::exists(database + "-journal"));
    EXPECT_TRUE(CheckPlace(DataPlace::Folder(data), false).notes.empty());  // said once
}

// A reader killed with a backup's scratch copy open, and a backup killed
// while it wrote: the next reader and the next backup into that folder
// remove what they left.
TEST_F(BackupTrustTest, WhatKilledProcessesLeftIsRemovedByTheNextRun) {
    std::string file = Backup(data, "read.kxbak");
    pid_t reader = KilledAfter([&] { new PlaceConnection(DataPlace::BackupFile(file)); });
    ASSERT_GT(reader, 0);
    auto left = [&](const std::string& prefix) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
            count += entry.path().filename().string().rfind(prefix, 0) == 0;
        return count;
    };
    const std::string readerPrefix = "kashidashi-read-" + std::to_string(reader) + "-";
    ASSERT_EQ(left(readerPrefix), 1);
    { PlaceConnection again(DataPlace::BackupFile(file)); }
    EXPECT_EQ(left(readerPrefix), 0);

    std::string backups = NewFolder("staged");
    fs::create_directories(fs::path(backups) /
                           ("kashidashi-20261209.kxbak.part." + std::to_string(reader)));
    MakeBackup(DataPlace::Folder(data), backups + "/kashidashi-20261210.kxbak");
    for (const auto& entry : fs::directory_iterator(backups))
        EXPECT_EQ(entry.path().filename().string().find(".part."), std::string::npos)
            << entry.path();
}

}  // namespace
}  // namespace library_test
