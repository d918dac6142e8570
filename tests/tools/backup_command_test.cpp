// kashidashi-admin backup, restore and check: a backup taken while four
// replays lend and return (on a folder and on a server) is clean and holds
// every loan committed before it began; backups killed at random moments
// leave the source as it was and no file; a restore is refused while a desk
// has a table of the destination open; check names each fault of folders
// broken on purpose, and --repair mends the flags and counts.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "engine/common/dates.h"
#include "engine/dataset/table.h"
#include "engine/pg_test_server.h"
#include "engine/session/data_location.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/open_local.h"
#include "support/small_disk.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;

class BackupCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        MakeDemoSchool();
    }
    std::string NewFolder(const std::string& name) {
        fs::create_directories(scratch / name);
        return (scratch / name).string();
    }
    std::string Replay(const std::string& scans, const std::string& desk) {
        auto run = RunBuiltTool(
            {"scans", folder, WriteScratch(desk + ".txt", scans), "--settings", NewFolder(desk)},
            desk);
        return run.status == 0 ? "" : desk + ": " + run.out + run.err;
    }
    // The rows of a table at another location.
    std::vector<std::map<std::string, std::string>> RowsAt(const std::string& location,
                                                           const std::string& table) {
        std::string own = folder;
        folder = location;
        auto rows = Rows(table);
        folder = own;
        return rows;
    }
    // Every loan as its identity: book, user, lent and due.
    static std::multiset<std::string> Loans(
        const std::vector<std::map<std::string, std::string>>& rows) {
        std::multiset<std::string> loans;
        for (auto row : rows)
            loans.insert(row["BOOK_ID"] + "/" + row["NAME_ID"] + "/" + row["kashidashibi"] + "/" +
                         row["henkyakuyotei"]);
        return loans;
    }
    // Returned loans of long ago, so that a copy takes more than one step.
    void AddOldLoans(int count);
    // Four desks lend `rounds` rounds each; backups follow one another until
    // one ran while they lent, or with `backToBack` until the desks are done.
    void BackupWhileFourDesksLend(int rounds = 40, bool backToBack = false);
};

class ServerBackupCommand : public BackupCommand {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        UseServer();
        if (Stopped()) return;
        MakeDemoSchool();
    }
};

void BackupCommand::AddOldLoans(int count) {
    auto connection = engine::OpenLocation(engine::RequireLocation(folder));
    auto table = *connection->DescribeTable("kashibo");
    auto column = [&](const char* name) { return *table.FindColumn(name); };
    connection->Begin();
    for (int i = 0; i < count; ++i) {
        std::vector<engine::Value> values(table.columns.size());
        values[column("BOOK_ID")] = engine::Value(100 + i % 300);
        values[column("NAME_ID")] = engine::Value(std::string("100001"));
        values[column("kashidashibi")] = engine::Value(engine::MakeDate(2020, 5, 1 + i % 28));
        values[column("henkyakubi")] = engine::Value(engine::MakeDate(2020, 6, 1 + i % 28));
        connection->InsertRow(table, values);
    }
    connection->Commit(true);
}

// Four desks, each lending and returning its own books over and over; the
// backup starts while they work.
void BackupCommand::BackupWhileFourDesksLend(int rounds, bool backToBack) {
    std::vector<std::string> failures(4);
    std::vector<std::thread> desks;
    std::atomic<int> running{4};
    for (int desk = 1; desk <= 4; ++desk) {
        std::string b1 = std::to_string(desk * 4 - 3), b2 = std::to_string(desk * 4 - 2);
        std::string round = "1010" + std::to_string(desk) + "\n" + b1 + "\n" + b2 +
                            "\nACTION\nRETURN\n" + b1 + "\n" + b2 + "\nLENDING\n" + "1010" +
                            std::to_string(desk) + "\n" + b1 + "\nACTION\nRETURN\n" + b1 +
                            "\nLENDING\n";
        std::string scans;
        for (int i = 0; i < rounds; ++i) scans += round;
        desks.emplace_back([this, desk, scans, &failures, &running] {
            failures[desk - 1] = Replay(scans, "desk" + std::to_string(desk));
            --running;
        });
    }
    // Backups one after another until one of them ran while the desks lent
    // (and, back to back, on until the desks are done); the last such one is
    // checked.
    std::multiset<std::string> before, after, during;
    std::string file;
    for (int turn = 0; running > 0 && (backToBack || during.empty()); ++turn) {
        before = Loans(Rows("kashibo"));  // committed before the backup starts
        const std::string made = (scratch / ("during" + std::to_string(turn) + ".kxbak")).string();
        auto backup = RunBuiltTool({"backup", folder, made}, "backup");
        EXPECT_EQ(backup.status, 0) << backup.err;
        if (backup.status != 0) break;  // the desks are joined below
        after = Loans(Rows("kashibo"));
        if (after.size() > before.size()) during = before, file = made;
    }
    before = during;
    for (auto& desk : desks) desk.join();
    for (const auto& failure : failures) EXPECT_EQ(failure, "");  // no desk gave up waiting
    ASSERT_FALSE(file.empty()) << "no backup ran while the desks lent";
    auto check = RunBuiltTool({"check", file}, "check");
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    const std::string restored = NewFolder("restored");
    auto restore = RunBuiltTool({"restore", file, restored}, "restore");
    ASSERT_EQ(restore.status, 0) << restore.err;
    auto loans = Loans(RowsAt(restored, "kashibo"));
    for (const auto& loan : before) EXPECT_GE(loans.count(loan), before.count(loan)) << loan;
    EXPECT_EQ(RunBuiltTool({"check", restored}, "check2").status, 0);
}

TEST_F(BackupCommand, ABackupWhileFourDesksLendIsCleanAndHoldsEveryEarlierLoan) {
    AddOldLoans(60'000);
    BackupWhileFourDesksLend();
}

// Backups back to back for as long as four desks lend at full speed: no
// desk gives up waiting (each copy's step is a quarter of the third of the
// lock rule's wait at most), every backup is made.
TEST_F(BackupCommand, BackToBackBackupsNeverMakeADeskGiveUp) {
    AddOldLoans(20'000);
    BackupWhileFourDesksLend(12, true);
}

TEST_F(ServerBackupCommand, ABackupWhileFourDesksLendIsCleanAndHoldsEveryEarlierLoan) {
    AddOldLoans(2'000);
    BackupWhileFourDesksLend();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool StagingLeft(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".part.") != std::string::npos) return true;
    return false;
}

// Backups killed at random moments; KX_BACKUP_KILL_ROUNDS sets how many.
TEST_F(BackupCommand, AKilledBackupLeavesTheSourceAndNoFile) {
    AddOldLoans(150'000);
    const char* rounds = std::getenv("KX_BACKUP_KILL_ROUNDS");
    const int count = rounds ? std::atoi(rounds) : 5;
    const std::string database = folder + "/kashidashi.db";
    const fs::path out = NewFolder("backups");
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunBuiltTool({"backup", folder, (out / "timing.kxbak").string()}).status, 0);
    // The first backup made the school's identity; from now on nothing changes.
    const std::string source = FileBytes(database);
    const int windowMs = std::max<int>(5, std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - start)
                                              .count());
    std::mt19937 random(20261210);
    int killedEarly = 0;
    for (int round = 0; round < count; ++round) {
        const std::string file = (out / ("round" + std::to_string(round) + ".kxbak")).string();
        pid_t child = fork();
        if (child == 0) {
            freopen("/dev/null", "w", stdout);
            execl(KX_ADMIN_TOOL, KX_ADMIN_TOOL, "backup", folder.c_str(), file.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % windowMs));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        if (fs::exists(file)) {
            // Killed after it was complete: the whole backup is there.
            EXPECT_EQ(RunBuiltTool({"check", file}, "check").status, 0) << "round " << round;
        } else {
            ++killedEarly;
            auto again = RunBuiltTool({"backup", folder, file}, "again");
            EXPECT_EQ(again.status, 0) << again.err;
            EXPECT_FALSE(StagingLeft(out)) << "round " << round;  // the stale one went
        }
        EXPECT_TRUE(FileBytes(database) == source) << "round " << round;
        if (HasFailure()) break;
    }
    EXPECT_GT(killedEarly, 0) << "no kill fell inside a backup";
}

TEST_F(BackupCommand, ARestoreIsRefusedWhileADeskHasATableOpen) {
    const std::string file = (scratch / "school.kxbak").string();
    ASSERT_EQ(RunBuiltTool({"backup", folder, file}).status, 0);
    Sql("Update Book Set syomei2='changed after the backup' Where BOOK_ID=1");
    auto books = Rows("Book");
    {
        // A desk serving a user holds Book and Name open.
        engine::TDBSession desk("backup-test-desk");
        engine::TDBTable book;
        book.SetSessionName("backup-test-desk");
        book.SetDatabaseName(folder);
        book.SetTableName("Book");
        book.Open();
        auto refused = RunBuiltTool({"restore", file, folder}, "refused");
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("他の端末が Book 表を使っています"), std::string::npos)
            << refused.err;
        book.Close();
    }
    EXPECT_EQ(Rows("Book"), books);  // nothing changed, nothing backed up
    for (const auto& entry : fs::directory_iterator(scratch))
        EXPECT_EQ(entry.path().filename().string().find("before-restore"), std::string::npos);
    auto restored = RunBuiltTool({"restore", file, folder}, "restored");
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_NE(restored.out.find("kashidashi-before-restore-"), std::string::npos) << restored.out;
    EXPECT_EQ(Row("Book", "BOOK_ID", "1")["syomei2"] == "changed after the backup", false);
}

// A server database made again from its backup, after a backup of what it
// held; a desk with a table open keeps the restore off.
TEST_F(ServerBackupCommand, AServerIsRestoredFromItsBackupAllOrNothing) {
    const std::string file = (scratch / "server.kxbak").string();
    ASSERT_EQ(RunBuiltTool({"backup", folder, file}).status, 0);
    auto books = Rows("Book");
    Sql("Update Book Set syomei2='changed after the backup' Where BOOK_ID=1");
    Sql("Delete From SYOZOKU");
    {
        engine::TDBSession desk("backup-test-server-desk");
        engine::TDBDatabase database("AAA", desk);
        engine::PointAt(desk, database, engine::RequireLocation(folder));
        engine::TDBTable name;
        name.SetSessionName("backup-test-server-desk");
        name.SetDatabaseName("AAA");
        name.SetTableName("Name");
        name.Open();
        auto refused = RunBuiltTool({"restore", file, folder}, "refused");
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("他の端末が Name 表を使っています"), std::string::npos)
            << refused.err;
    }
    EXPECT_TRUE(Rows("SYOZOKU").empty());  // nothing changed
    auto restored = RunBuiltTool({"restore", file, folder}, "restored");
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(Rows("Book"), books);
    EXPECT_FALSE(Rows("SYOZOKU").empty());
    EXPECT_EQ(RunBuiltTool({"check", folder}, "check").status, 0);
}

// A disk that fills up under the backup, at each step and in each way the
// system says it: a file size limit (EFBIG, as on a FAT stick) cutting the
// copy or, set at the copy's own size, the manifest written after it; a real
// small disk (ENOSPC) where the test may mount one. The command says so
// plainly, names the backup's folder, and leaves no file and no staging.
TEST_F(BackupCommand, AFullDiskIsSaidPlainly) {
    AddOldLoans(5'000);
    ASSERT_EQ(RunBuiltTool({"backup", folder, (scratch / "first.kxbak").string()}).status, 0);
    const auto copyBytes = static_cast<rlim_t>(fs::file_size(folder + "/kashidashi.db"));
    const std::string stick = NewFolder("stick");
    const std::string stickSize = std::to_string(copyBytes / 2 / 1024) + "k";
    const struct {
        const char* what;
        std::string into;  // the folder of the backup
        rlim_t sizeLimit;  // 0: none
    } kCases[] = {
        {"a file size limit in the copy", scratch.string(), 100'123},
        {"a file size limit at the manifest", scratch.string(), copyBytes},
        {"a small disk", stick, 0},
    };
    for (const auto& c : kCases) {
        if (c.sizeLimit == 0 && !kx_test::MountSmallDisk(stick, stickSize.c_str())) {
            std::cout << "cannot mount a small disk here: " << c.what << " skipped\n";
            continue;
        }
        const std::string file = c.into + "/full.kxbak";
        const std::string errors = (scratch / "full.err").string();
        pid_t child = fork();
        if (child == 0) {
            if (c.sizeLimit) {
                struct rlimit limit {
                    c.sizeLimit, c.sizeLimit
                };
                setrlimit(RLIMIT_FSIZE, &limit);
                signal(SIGXFSZ, SIG_IGN);
            }
            freopen("/dev/null", "w", stdout);
            freopen(errors.c_str(), "w", stderr);
            execl(KX_ADMIN_TOOL, KX_ADMIN_TOOL, "backup", folder.c_str(), file.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::string said = FileBytes(errors);
        EXPECT_EQ(WEXITSTATUS(status), 1) << c.what;
        EXPECT_EQ(said.rfind("ディスクの空きが足りません。\n", 0), 0u) << c.what << ": " << said;
        EXPECT_NE(said.find("12004: " + c.into + "/）"), std::string::npos)
            << c.what << ": " << said;
        EXPECT_FALSE(fs::exists(file)) << c.what;
        EXPECT_FALSE(StagingLeft(c.into)) << c.what;
    }
    kx_test::UnmountSmallDisk(stick);
}

TEST_F(BackupCommand, WrongUse) {
    EXPECT_EQ(RunBuiltTool({"backup", folder}).status, 2);
    EXPECT_EQ(RunBuiltTool({"restore", "a"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"check"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"check", folder, "--mend"}).status, 2);
    const std::string file = (scratch / "one.kxbak").string();
    ASSERT_EQ(RunBuiltTool({"backup", folder, file}).status, 0);
    auto twice = RunBuiltTool({"backup", folder, file});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("すでにあります"), std::string::npos) << twice.err;
    EXPECT_EQ(RunBuiltTool({"check", file, "--repair"}).status, 1);
    EXPECT_EQ(RunBuiltTool({"restore", file, file}).status, 1);
}

// A backup file is a SOURCE for copy too.
TEST_F(BackupCommand, ABackupFileIsCopiedLikeAFolder) {
    const std::string file = (scratch / "copy.kxbak").string();
    ASSERT_EQ(RunBuiltTool({"backup", folder, file}).status, 0);
    const std::string copied = NewFolder("copied");
    auto copy = RunBuiltTool({"copy", file, copied});
    ASSERT_EQ(copy.status, 0) << copy.err;
    EXPECT_EQ(RowsAt(copied, "Book"), Rows("Book"));
}

}  // namespace
}  // namespace tools_test
