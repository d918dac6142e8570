// kashidashi-admin stats: a header and the view's columns, tab-separated,
// in the chart's order for each view; every view saved to a folder; wrong
// use 2.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class StatsCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        InitFolder();
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (900, '職員');"
            "Insert Into Name (NAME_ID, seito_No, syozoku_ID) Values ('100001', '10101', 101);"
            "Insert Into Name (NAME_ID, seito_No, syozoku_ID) Values ('100002', '10102', 101);"
            "Insert Into Name (NAME_ID, seito_No, syozoku_ID) Values ('900001', '90001', 900);"
            "Insert Into Book (BOOK_ID, syomei2, NDC_ID, ISBN) Values (1, 'ぐりとぐら', 726.6, "
            "'978483400082');"
            "Insert Into Book (BOOK_ID, syomei2, NDC_ID, ISBN) Values (2, 'ぐりとぐら', 726.6, "
            "'978483400082');"
            "Insert Into Book (BOOK_ID, syomei2, NDC_ID) Values (3, '星の図鑑', 440);"
            "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values (1, '100001', "
            "'2025/04/10');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values (2, '100001', "
            "'2025/05/01');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values (3, '900001', "
            "'2025/05/31');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values (3, '100002', "
            "'2025/06/01')");
    }
    std::string Stats(const std::string& view) {
        auto run = RunBuiltTool(
            {"stats", folder, "--from", "2025/04/01", "--to", "2025/05/31", "--by", view});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }
};

TEST_F(StatsCommand, EachViewInTheChartsOrder) {
    EXPECT_EQ(Stats("month"), "月\t貸出数\n2025/04\t1\n2025/05\t2\n");
    EXPECT_EQ(Stats("grade"), "学年\t貸出数\n1年\t2\n職員\t1\n");
    EXPECT_EQ(Stats("class"), "所属\t貸出数\n1年1組\t2\n職員\t1\n");
    EXPECT_EQ(Stats("title"),
              "順位\t書名\tISBN\t貸出数\n1\tぐりとぐら\t9784834000825\t2\n2\t星の図鑑\t図書番号 "
              "0000003\t1\n");
    EXPECT_EQ(Stats("users"),
              "所属\t借りた人数\t利用者数\t割合（%）\n1年1組\t1\t2\t50.0\n職員\t1\t1\t100.0\n");
    EXPECT_EQ(Stats("perpupil-class"),
              "所属\t貸出数\t利用者数\t一人当たり\n1年1組\t2\t2\t1.00\n職員\t1\t1\t1.00\n");
    EXPECT_EQ(Stats("readers-grade"),
              "学年\t順位\t利用者\t貸出数\n1年\t1\t10101\t2\n職員\t1\t90001\t1\n");
    EXPECT_NE(Stats("ndc").find("4 自然科学\t1\n5 技術\t0\n6 産業\t0\n7 芸術\t2\n"),
              std::string::npos);
}

TEST_F(StatsCommand, EveryViewSavedToAFolder) {
    const std::string saved = (scratch / "2025").string();
    auto run = RunBuiltTool(
        {"stats", folder, "--from", "2025/04/01", "--to", "2025/05/31", "--save", saved});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(saved + "/01_月別.csv\n" + saved + "/01_月別.pdf\n"), std::string::npos)
        << run.out;
    EXPECT_TRUE(std::filesystem::exists(saved + "/10_多読者（学年別）.pdf"));
}

TEST_F(StatsCommand, WrongUseIsTwo) {
    EXPECT_EQ(RunBuiltTool({"stats", folder, "--from", "2025/04/01", "--to", "2025/05/31"}).status,
              2);
    EXPECT_EQ(RunBuiltTool(
                  {"stats", folder, "--from", "2025/04/01", "--to", "2025/03/31", "--by", "month"})
                  .status,
              2);
    EXPECT_EQ(RunBuiltTool(
                  {"stats", folder, "--from", "2025/04/01", "--to", "2025/05/31", "--by", "week"})
                  .status,
              2);
    auto run = RunBuiltTool(
        {"stats", folder, "--from", "2025/02/29", "--to", "2025/05/31", "--by", "month"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("2025/02/29 という日はありません"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tools_test
