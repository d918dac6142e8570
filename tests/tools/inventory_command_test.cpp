// inventory on a data folder and on a server database: the start and its
// question, a reader's file, the books not found, the progress, the wrong
// uses; and two readers' files taken at once by two programs.
#include <gtest/gtest.h>

#include <thread>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class InventoryCommand : public BuiltToolFixture {
  protected:
    // Books 1 to 4 on two shelves, 3 lent, 4 discarded.
    void MakeBooks() {
        ASSERT_EQ(RunBuiltTool({"init", folder}).status, 0);
        Sql("Insert Into HKN (HKN_ID, HKN) Values (1, '図書室');"
            "Insert Into HKN (HKN_ID, HKN) Values (2, '書庫');"
            "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID) Values (1, '本1', '913/ア', 2);"
            "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID) Values (2, '本2', '210/イ', 1);"
            "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, kashidashiF) Values"
            " (3, '本3', '913/ウ', 1, True);"
            "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, haikiF) Values"
            " (4, '本4', '913/エ', 1, True);"
            "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID) Values (5, '本5', '910/オ', 1)");
    }
    void CheckWhatTheCheckLeaves();
    void CheckAWholeRound() {
        MakeBooks();
        if (HasFatalFailure()) return;
        auto none = RunBuiltTool({"inventory", folder, "scan", WriteScratch("early.txt", "1\n")});
        EXPECT_EQ(none.status, 1) << none.err;  // no check runs yet
        EXPECT_EQ(RunBuiltTool({"inventory", folder, "start"}).status, 0);
        auto again = RunBuiltTool({"inventory", folder, "start"});
        EXPECT_EQ(again.status, 1);
        EXPECT_NE(again.err.find("--again"), std::string::npos) << again.err;
        EXPECT_EQ(RunBuiltTool({"inventory", folder, "start", "--again"}).status, 0);
        auto file = WriteScratch("reader.txt", "2026/03/02 10:00:00\t0000001\n1\n3\n4\n99999\n");
        auto scan = RunBuiltTool({"inventory", folder, "scan", file});
        EXPECT_EQ(scan.status, 0) << scan.err;
        EXPECT_EQ(scan.out,
                  "1\t0000001\t点検しました: 0000001 本1\n"
                  "2\t1\t点検済みです: 0000001 本1\n"
                  "3\t3\t貸出中の記録がある図書です。返却してください: 0000003 本3\n"
                  "4\t4\t廃棄済みの図書です: 0000004 本4\n"
                  "5\t99999\t登録されていない図書番号です: 0099999\n");
        auto report = RunBuiltTool({"inventory", folder, "report"});
        EXPECT_EQ(report.status, 0) << report.err;
        EXPECT_EQ(report.out,
                  "図書番号\t書名\t請求記号\t保管場所\n"
                  "0000002\t本2\t210/イ\t図書室\n"
                  "0000005\t本5\t910/オ\t図書室\n");
        auto status = RunBuiltTool({"inventory", folder, "status"});
        EXPECT_NE(status.out.find("全体\t\t1\t3\n"), std::string::npos) << status.out;
        EXPECT_NE(status.out.find("保管場所\t書庫\t1\t1\n"), std::string::npos) << status.out;
        auto reg = RunBuiltTool({"sql", folder, "Select ID, N1 From Reg Where ID=21"}, "sql");
        EXPECT_EQ(reg.out, "ID\tN1\n21\t1\n");
    }
};

TEST_F(InventoryCommand, AWholeRoundOnAFolder) {
    CheckAWholeRound();
}

TEST_F(InventoryCommand, AWholeRoundOnAServer) {
    UseServer();
    if (Stopped()) return;
    CheckAWholeRound();
}

TEST_F(InventoryCommand, WrongUses) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"inventory", folder},
                                                 {"inventory", folder, "scan"},
                                                 {"inventory", folder, "begin"},
                                                 {"inventory", folder, "report", "x"},
                                                 {"inventory", folder, "scan", "f", "--place", "1"},
                                                 {"inventory", folder, "start", "--ndc", "900-100"},
                                                 {"inventory", folder, "restore"},
                                                 {"inventory", folder, "summary", "--year", "x"}}) {
        auto run = RunBuiltTool(args);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("inventory FOLDER"), std::string::npos) << run.err;
    }
}

TEST_F(InventoryCommand, TwoReadersFilesTakenAtOnceCountEachBookOnce) {
    MakeBooks();
    if (HasFatalFailure()) return;
    ASSERT_EQ(RunBuiltTool({"inventory", folder, "start"}).status, 0);
    std::string lines;
    for (int round = 0; round < 100; ++round) lines += "1\n2\n5\n";
    // Two readers' files (the same content would be one file taken twice).
    auto a = WriteScratch("a.txt", lines), b = WriteScratch("b.txt", "5\n" + lines);
    CommandRun first, second;
    std::thread one([&] { first = RunBuiltTool({"inventory", folder, "scan", a}, "a"); });
    std::thread two([&] { second = RunBuiltTool({"inventory", folder, "scan", b}, "b"); });
    one.join();
    two.join();
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    auto counted = [](const std::string& out) {
        size_t n = 0;
        for (size_t at = out.find("点検しました"); at != std::string::npos;
             at = out.find("点検しました", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(counted(first.out) + counted(second.out), 3u);
    auto status = RunBuiltTool({"inventory", folder, "status"});
    EXPECT_NE(status.out.find("全体\t\t3\t3\n"), std::string::npos) << status.out;
}

// Long files, several batches each, taken again and again by two programs:
// a batch that meets the other's lock waits and is tried again.
TEST_F(InventoryCommand, TwoReadersInALoopNeverFailOnALock) {
    MakeBooks();
    if (HasFatalFailure()) return;
    ASSERT_EQ(RunBuiltTool({"inventory", folder, "start"}).status, 0);
    std::string lines;
    for (int round = 0; round < 500; ++round) lines += "1\n2\n5\n";
    auto a = WriteScratch("a.txt", lines), b = WriteScratch("b.txt", "2\n" + lines);
    for (int round = 0; round < 8; ++round) {
        CommandRun first, second;
        std::thread one([&] {
            first = RunBuiltTool({"inventory", folder, "scan", a, "--again"}, "a");
        });
        std::thread two([&] {
            second = RunBuiltTool({"inventory", folder, "scan", b, "--again"}, "b");
        });
        one.join();
        two.join();
        ASSERT_EQ(first.status, 0) << round << ": " << first.err;
        ASSERT_EQ(second.status, 0) << round << ": " << second.err;
    }
}

TEST_F(InventoryCommand, FilesTakenTwiceOddFilesLostBooksAndARestore) {
    CheckWhatTheCheckLeaves();
}

TEST_F(InventoryCommand, FilesTakenTwiceOddFilesLostBooksAndARestoreOnAServer) {
    UseServer();
    if (Stopped()) return;
    CheckWhatTheCheckLeaves();
}

void InventoryCommand::CheckWhatTheCheckLeaves() {
    MakeBooks();
    if (HasFatalFailure()) return;
    ASSERT_EQ(RunBuiltTool({"inventory", folder, "start"}).status, 0);
    auto file = WriteScratch("reader.txt", "1\n0000000\n");
    auto first = RunBuiltTool({"inventory", folder, "scan", file});
    EXPECT_EQ(first.out,
              "1\t1\t点検しました: 0000001 本1\n"
              "2\t0000000\t登録されていない図書番号です: 0000000\n");
    auto twice = RunBuiltTool({"inventory", folder, "scan", file});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("読み込み済み"), std::string::npos) << twice.err;
    EXPECT_NE(twice.err.find("--again"), std::string::npos) << twice.err;
    auto again = RunBuiltTool({"inventory", folder, "scan", file, "--again"});
    EXPECT_NE(again.out.find("点検済みです: 0000001"), std::string::npos) << again.out;
    // Not text: refused whole, nothing checked.
    auto image = WriteScratch("photo.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR2\n5\n", 21));
    auto refused = RunBuiltTool({"inventory", folder, "scan", image});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("読取器のファイルではありません"), std::string::npos) << refused.err;
    EXPECT_NE(RunBuiltTool({"inventory", folder, "status"}).out.find("全体\t\t1\t3\n"),
              std::string::npos);
    // The end: 2 written off, 5 marked 不明; 2 turns up and is restored.
    auto finish = RunBuiltTool({"inventory", folder, "finish", "--write-off", "2"});
    EXPECT_EQ(finish.status, 0) << finish.err;
    auto lost = RunBuiltTool({"inventory", folder, "lost"});
    EXPECT_NE(lost.out.find("\n0000005\t本5\t910/オ\t図書室\t"), std::string::npos) << lost.out;
    EXPECT_EQ(lost.out.find("0000002"), std::string::npos) << lost.out;
    EXPECT_EQ(RunBuiltTool({"inventory", folder, "restore", "2"}).status, 0);
    auto twiceRestored = RunBuiltTool({"inventory", folder, "restore", "0000002"});
    EXPECT_EQ(twiceRestored.status, 1);
    EXPECT_NE(twiceRestored.err.find("廃棄にした記録がありません"), std::string::npos);
    EXPECT_EQ(Row("Book", "BOOK_ID", "2")["haikiF"], "");
    auto summary = RunBuiltTool({"inventory", folder, "summary", "--year", "2026"});
    EXPECT_NE(summary.out.find("合計\t4\t"), std::string::npos) << summary.out;
    // A check of one storage place.
    EXPECT_EQ(RunBuiltTool({"inventory", folder, "start", "--place", "2"}).status, 0);
    auto status = RunBuiltTool({"inventory", folder, "status"});
    EXPECT_NE(status.out.find("範囲\t保管場所 書庫\n全体\t\t0\t1\n"), std::string::npos)
        << status.out;
}

// A book a check marked 不明 that comes back at the desk loses its mark.
TEST_F(InventoryCommand, TheDeskSaysWhenABookMarkedLostComesBack) {
    MakeDemoSchool();
    if (HasFatalFailure()) return;
    ASSERT_EQ(RunBuiltTool({"inventory", folder, "start"}).status, 0);
    ASSERT_EQ(RunBuiltTool({"inventory", folder, "finish"}).status, 0);
    ASSERT_NE(RunBuiltTool({"inventory", folder, "lost"}).out.find("\n0000005\t"),
              std::string::npos);
    auto settings = scratch / "desk";
    std::filesystem::create_directories(settings);
    auto replay =
        RunBuiltTool({"scans", folder, WriteScratch("desk.txt", "10101\n5\nACTION\nRETURN\n5\n"),
                      "--settings", settings.string()});
    EXPECT_NE(replay.out.find("不明の記録を消しました"), std::string::npos) << replay.out;
    EXPECT_EQ(RunBuiltTool({"inventory", folder, "lost"}).out.find("\n0000005\t"),
              std::string::npos);
}

}  // namespace
}  // namespace tools_test
