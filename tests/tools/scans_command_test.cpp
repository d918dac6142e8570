// kashidashi-admin scans: stored scans replayed through the desk on the demo
// school, two replays lending one book at the same moment, and replays killed
// at random moments that must leave the loans consistent; the last two also
// on a demo school in a server database.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "engine/pg_test_server.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class ScansCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        MakeDemoSchool();
    }
    // A settings folder of its own: a desk of another program folder.
    std::string Desk(const std::string& name) {
        auto path = scratch / name;
        std::filesystem::create_directories(path);
        return path.string();
    }
    CommandRun Replay(const std::string& scans, const std::string& desk, const std::string& tag) {
        return RunBuiltTool(
            {"scans", folder, WriteScratch(tag + ".txt", scans), "--settings", Desk(desk)}, tag);
    }
    std::string Field(const std::string& table, const std::string& keyColumn,
                      const std::string& key, const std::string& column) {
        return Row(table, keyColumn, key)[column];
    }
    int OpenLoans() {
        int open = 0;
        for (auto& row : Rows("kashibo")) open += row["kashidashiF"] == "1";
        return open;
    }
    void TwoDesksLendOneBook();
    void KilledReplaysStayConsistent();
    // The kills fall within this many milliseconds of a replay's start.
    virtual int KillWindowMs() {
        return 400;
    }
    void ExpectConsistentLoans(int round);
};

// The same school in a database of its own on the test server; `folder`
// holds its server address, so every command and reader goes there.
class ServerScansCommand : public ScansCommand {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        UseServer();
        if (Stopped()) return;
        MakeDemoSchool();
    }
    // A replay on the server is quicker than on a folder: the kills fall
    // within one and a half uninterrupted replays, so that most cut it short.
    int KillWindowMs() override {
        if (window == 0) {
            auto start = std::chrono::steady_clock::now();
            Replay("10101\n1\n2\n3\nACTION\nRETURN\n1\n2\nLENDING\n", "timing", "timing");
            auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            window = std::max(20, static_cast<int>(took.count() * 3 / 2));
        }
        return window;
    }
    int window = 0;
};

TEST_F(ScansCommand, ADayAtTheCounterReplayedWithItsTimes) {
    const std::string scans =
        "2026/11/02 08:30:00\t10101\n"
        "2026/11/02 08:30:05\t0000001\n"
        "2026/11/02 08:30:07\t0000002\n"
        "2026/11/02 08:30:09\t0000002\n"
        "\n"
        "2026/11/02 08:30:12\tACTION\n"
        "2026/11/09 12:00:00\tRETURN\n"
        "2026/11/09 12:00:03\t1\n"
        "2026/11/09 12:00:05\tLENDING\n";
    auto run = Replay(scans, "desk", "day");
    EXPECT_EQ(run.status, 1) << run.err;  // one scan was refused
    EXPECT_NE(run.out.find("4\t0000002\t既に選択しています。"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("6\tACTION\t貸出 2冊"), std::string::npos) << run.out;
    auto loans = Rows("kashibo");
    ASSERT_EQ(loans.size(), 2u);
    for (auto& loan : loans) EXPECT_EQ(loan["kashidashibi"], "2026/11/02");
    EXPECT_NE(Field("Book", "BOOK_ID", "1", "kashidashiF"), "True");
    EXPECT_EQ(Field("Book", "BOOK_ID", "2", "kashidashiF"), "True");
    EXPECT_EQ(OpenLoans(), 1);
    bool returned = false;
    for (auto& loan : loans) returned = returned || loan["henkyakubi"] == "2026/11/09";
    EXPECT_TRUE(returned) << run.out;
}

TEST_F(ScansCommand, WhatNeedsAnOperatorIsLeftUndone) {
    // 10102 reserved book 3 first; books picked without ACTION are not lent.
    Sql("Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, yoyakuDTime) Values "
        "(3, 1, '100002', '2026/01/01 09:00:00')");
    auto run = Replay("10101\n3\n4\n", "desk", "undone");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("2\t3\tこの図書は他の人が先に予約していますので、選択しませんでした。"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("ACTION がないので貸出していません"), std::string::npos) << run.out;
    EXPECT_TRUE(Rows("kashibo").empty());
}

TEST_F(ScansCommand, AReturnListsWhoWaitsAndAnIsbnOfTwoHoldersIsLeft) {
    // Books 1 and 2 are copies of one title, lent to 10101 and 10102.
    Sql("Update Book Set ISBN='978400000001' Where BOOK_ID<=2");
    ASSERT_EQ(Replay("10101\n1\nACTION\n10102\n2\nACTION\n", "desk", "lend").status, 0);
    Sql("Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID, yoyakuDTime) Values "
        "(2, 1, '100003', '978400000001', '2026/01/05 10:00:00')");
    auto run = Replay("RETURN\n9784000000012\n1\n", "desk", "return");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find(
                  "2\t9784000000012\tこの書名は複数の人が借りていますので、返却しませんでした。"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("予約 2026/01/05 10:00:00 100003"), std::string::npos) << run.out;
    EXPECT_EQ(OpenLoans(), 1);
}

TEST_F(ScansCommand, WrongUseAndAMissingFile) {
    EXPECT_EQ(RunBuiltTool({"scans", folder}).status, 2);
    EXPECT_EQ(RunBuiltTool({"scans", folder, "a", "--other", "b"}).status, 2);
    auto missing = RunBuiltTool({"scans", folder, (scratch / "none.txt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("開けません"), std::string::npos) << missing.err;
}

void ScansCommand::TwoDesksLendOneBook() {
    for (int round = 0; round < 6; ++round) {
        Sql("Delete From kashibo");
        Sql("Update Book Set kashidashiF=False Where BOOK_ID=5");
        Sql("Update Name Set mihenkyakuSU=0");
        CommandRun a, b;
        std::thread first([&] { a = Replay("10101\n5\nACTION\n", "deskA", "a"); });
        std::thread second([&] { b = Replay("10102\n5\nACTION\n", "deskB", "b"); });
        first.join();
        second.join();
        EXPECT_EQ(OpenLoans(), 1) << a.out << b.out;
        EXPECT_EQ(Field("Book", "BOOK_ID", "5", "kashidashiF"), "True");
        EXPECT_EQ(std::stoi(Field("Name", "NAME_ID", "100001", "mihenkyakuSU")) +
                      std::stoi(Field("Name", "NAME_ID", "100002", "mihenkyakuSU")),
                  1);
    }
}

TEST_F(ScansCommand, TwoDesksLendingOneBookAtOnceMakeOneLoan) {
    TwoDesksLendOneBook();
}

// Two desks on one server: the server's locks let exactly one of them lend.
TEST_F(ServerScansCommand, TwoDesksLendingOneBookAtOnceMakeOneLoan) {
    TwoDesksLendOneBook();
}

// Replays killed at random moments; KX_CRASH_ROUNDS sets how many (the
// README tells how to run the long version).
void ScansCommand::KilledReplaysStayConsistent() {
    const char* rounds = std::getenv("KX_CRASH_ROUNDS");
    const int count = rounds ? std::atoi(rounds) : 12;
    std::mt19937 random(20261210);
    for (int round = 0; round < count; ++round) {
        std::string scans = "1010" + std::to_string(1 + random() % 5) + "\n";
        for (int i = 0; i < 3; ++i) scans += std::to_string(1 + random() % 12) + "\n";
        scans += "ACTION\nRETURN\n" + std::to_string(1 + random() % 12) + "\n" +
                 std::to_string(1 + random() % 12) + "\nLENDING\n";
        auto file = WriteScratch("crash.txt", scans);
        pid_t child = fork();
        if (child == 0) {
            freopen("/dev/null", "w", stdout);
            execl(KX_ADMIN_TOOL, KX_ADMIN_TOOL, "scans", folder.c_str(), file.c_str(), "--settings",
                  Desk("crash").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % KillWindowMs()));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ExpectConsistentLoans(round);
        if (HasFailure()) break;
    }
}

// The invariants, read after the killed writer's journal is rolled back (or,
// on a server, after the server rolled back the killed session's work).
void ScansCommand::ExpectConsistentLoans(int round) {
    std::map<std::string, int> openByBook, openByUser;
    for (auto& loan : Rows("kashibo"))
        if (loan["kashidashiF"] == "1")
            ++openByBook[loan["BOOK_ID"]], ++openByUser[loan["NAME_ID"]];
    for (auto& [book, open] : openByBook) EXPECT_EQ(open, 1) << "book " << book;
    for (auto& book : Rows("Book"))
        EXPECT_EQ(book["kashidashiF"] == "True", openByBook.count(book["BOOK_ID"]) == 1)
            << "book " << book["BOOK_ID"] << " round " << round;
    for (auto& user : Rows("Name"))
        EXPECT_EQ(user["mihenkyakuSU"].empty() ? 0 : std::stoi(user["mihenkyakuSU"]),
                  openByUser[user["NAME_ID"]])
            << "user " << user["NAME_ID"] << " round " << round;
}

TEST_F(ScansCommand, KilledReplaysLeaveTheLoansConsistent) {
    KilledReplaysStayConsistent();
}

// Killed sessions on a server: their connections drop, and the server rolls
// back whatever they had begun.
TEST_F(ServerScansCommand, KilledReplaysLeaveTheLoansConsistent) {
    KilledReplaysStayConsistent();
}

}  // namespace
}  // namespace tools_test
