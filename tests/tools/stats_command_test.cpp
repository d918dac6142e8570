// kashidashi-admin stats: a header and key<TAB>count lines in the chart's
// order for each view (users: key, borrowers, users); wrong use 2.
#include <gtest/gtest.h>

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
    EXPECT_EQ(Stats("title"), "書名\t貸出数\nぐりとぐら\t2\n星の図鑑\t1\n");
    EXPECT_EQ(Stats("users"), "所属\t借りた人数\t利用者数\n1年1組\t1\t2\n職員\t1\t1\n");
    EXPECT_NE(Stats("ndc").find("4 自然科学\t1\n5 技術\t0\n6 産業\t0\n7 芸術\t2\n"),
              std::string::npos);
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
}

}  // namespace
}  // namespace tools_test
