// kashidashi-admin rollover: the plan printed without changing anything,
// --apply doing it after a backup beside the list (refused without
// --allow-removals when many would leave), a bad list refused by line
// (exit 1), wrong use 2.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class RolloverCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        InitFolder();
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (201, '2年1組');"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID, mihenkyakuSU) Values "
            "('100001', '10101', '青木　一郎', 101, 0);"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID, mihenkyakuSU) Values "
            "('100002', '10102', '井上　花子', 101, 1);"
            "Insert Into Book (BOOK_ID, syomei2) Values (12, 'かいけつゾロリ');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
            "kashidashiF)"
            " Values (12, '100002', '10102', '2025/03/01', '2025/03/10', '1')");
        list = WriteScratch("new-year.csv",
                            "NAME_ID,seito_No,NAME,syozoku_ID\n100001,20101,青木　一郎,201\n");
    }
    std::string list;
};

constexpr const char* kHeader = "種別\t固定番号\t名前\t所属\t生徒番号\t備考\n";

TEST_F(RolloverCommand, ShowsThePlanThenAppliesItAfterABackup) {
    auto run = RunBuiltTool({"rollover", folder, list});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string plan =
        std::string(kHeader) +
        "所属追加\t\t\t卒業・転出\t\t所属コード 99（本を返していない卒業・転出の利用者）\n"
        "変更\t100001\t青木　一郎\t1年1組 → 2年1組\t10101 → 20101\t2行目\n"
        "卒業・転出\t100002\t井上　花子\t1年1組 → 卒業・転出\t10102\t貸出中 1 冊: "
        "0000012 かいけつゾロリ（返却予定日 2025/03/10）\n";
    EXPECT_EQ(run.out, plan);
    EXPECT_NE(
        run.err.find("去る 1 人（削除 0、卒業・転出へ 1）、残る 0 人、変わる 1 人、来る 0 人"),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("注意: 利用者の 1 割を超える 1 人（全 2 人）がいなくなります"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Row("Name", "NAME_ID", "100001").at("seito_No"), "10101");
    // Half the school leaving needs the second yes.
    run = RunBuiltTool({"rollover", folder, list, "--apply"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("--allow-removals"), std::string::npos) << run.err;
    EXPECT_EQ(Row("Name", "NAME_ID", "100001").at("seito_No"), "10101");
    run = RunBuiltTool({"rollover", folder, list, "--apply", "--allow-removals"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, plan);
    EXPECT_EQ(Row("Name", "NAME_ID", "100001").at("seito_No"), "20101");
    EXPECT_EQ(Row("Name", "NAME_ID", "100002").at("syozoku_ID"), "99");
    size_t backups = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scratch))
        backups += entry.path().extension() == ".kxbak";
    EXPECT_EQ(backups, 1u);
    EXPECT_NE(run.err.find("バックアップ: "), std::string::npos);
}

TEST_F(RolloverCommand, ABadListIsRefusedByLineAndWrongUseIsTwo) {
    auto bad = WriteScratch("bad.csv",
                            "NAME_ID,seito_No,NAME,syozoku_ID\n100001,20101,青木,201\n100002,20101,"
                            "井上\U0001F600,201\n");
    auto run = RunBuiltTool({"rollover", folder, bad, "--apply"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("3行目: 生徒番号「20101」は 2行目と重複しています"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(
                  "3行目: NAME「井上\U0001F600」の「\U0001F600」は Shift-JIS（CP932）で書けない"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Row("Name", "NAME_ID", "100001").at("seito_No"), "10101");
    EXPECT_EQ(RunBuiltTool({"rollover", folder}).status, 2);
    EXPECT_EQ(RunBuiltTool({"rollover", folder, list, "--now"}).status, 2);
}

}  // namespace
}  // namespace tools_test
