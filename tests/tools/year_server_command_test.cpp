// overdue, stats and rollover --apply on a server database (PostgreSQL):
// the same statements of the dialect, the backup a snapshot of the server.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/pg_test_server.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class YearServerCommands : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        UseServer();
        if (Stopped()) return;
        server = folder;
        ASSERT_EQ(RunBuiltTool({"init", server}).status, 0);
        auto run = RunBuiltTool(
            {"sql", server,
             "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
             "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (201, '2年1組');"
             "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID, mihenkyakuSU) Values "
             "('100001', '10101', '青木　一郎', 101, 1);"
             "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID, mihenkyakuSU) Values "
             "('100002', '10102', '井上　花子', 101, 0);"
             "Insert Into Book (BOOK_ID, syomei2, NDC_ID) Values (12, 'かいけつゾロリ', 913);"
             "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
             "kashidashiF)"
             " Values (12, '100001', '10101', '2025/05/20', '2025/06/09', '1');"
             "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name) Values (12, 1, "
             "'100002', '10102', '井上　花子')"},
            "sql");
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::string server;
};

TEST_F(YearServerCommands, OverdueStatsAndTheNewYearOnAServer) {
    auto overdue = RunBuiltTool({"overdue", server, "--date", "2025/06/12"});
    EXPECT_EQ(overdue.status, 0) << overdue.err;
    EXPECT_NE(
        overdue.out.find(
            "1年1組\t10101\t青木　一郎\t0000012\tかいけつゾロリ\t2025/05/20\t2025/06/09\t3\n"),
        std::string::npos)
        << overdue.out;
    auto stats = RunBuiltTool(
        {"stats", server, "--from", "2025/04/01", "--to", "2026/03/31", "--by", "ndc"});
    EXPECT_EQ(stats.status, 0) << stats.err;
    EXPECT_NE(stats.out.find("9 文学\t1\n"), std::string::npos) << stats.out;
    auto list = WriteScratch("new-year.csv",
                             "NAME_ID,seito_No,NAME,syozoku_ID\n100001,20101,青木　一郎,201\n");
    auto rollover = RunBuiltTool({"rollover", server, list, "--apply", "--allow-removals"});
    EXPECT_EQ(rollover.status, 0) << rollover.err;
    EXPECT_NE(rollover.out.find("削除\t100002"), std::string::npos) << rollover.out;
    EXPECT_NE(rollover.out.find("予約取消\t100002"), std::string::npos) << rollover.out;
    auto users = RunBuiltTool({"sql", server, "Select NAME_ID, seito_No From Name"}, "sql");
    EXPECT_EQ(users.out, "NAME_ID\tseito_No\n100001\t20101\n");
    auto reservations = RunBuiltTool({"sql", server, "Select Book_ID From yoyaku"}, "sql");
    EXPECT_EQ(reservations.out, "Book_ID\n");
    size_t backups = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch))
        backups += entry.path().extension() == ".kxbak";
    EXPECT_EQ(backups, 1u);
}

}  // namespace
}  // namespace tools_test
