// kashidashi-admin overdue: the header and one tab-separated line per
// overdue loan in the window's order, narrowed by --class, today by
// default; exit 0 also when none is overdue, 2 for wrong use.
#include <gtest/gtest.h>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class OverdueCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        InitFolder();
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (900, '職員');"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('100001', '10101', "
            "'青木　一郎', 101);"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('900001', '90001', "
            "'大野　先生', 900);"
            "Insert Into Book (BOOK_ID, syomei2) Values (12, 'かいけつゾロリ');"
            "Insert Into Book (BOOK_ID, syomei2) Values (13, '星の王子さま');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
            "kashidashiF)"
            " Values (12, '100001', '10101', '2025/05/20', '2025/06/09', '1');"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
            "kashidashiF)"
            " Values (13, '900001', '90001', '2025/05/21', '2025/06/10', '1')");
    }
};

constexpr const char* kHeader =
    "所属\t生徒番号\t名前\t図書番号\t書名\t貸出日\t返却予定日\t延滞日数\n";

TEST_F(OverdueCommand, PrintsTheOverdueLoansOfTheDay) {
    auto run = RunBuiltTool({"overdue", folder, "--date", "2025/06/12"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              std::string(kHeader) +
                  "1年1組\t10101\t青木　一郎\t0000012\tかいけつゾロリ\t2025/05/20\t2025/06/09\t3\n"
                  "職員\t90001\t大野　先生\t0000013\t星の王子さま\t2025/05/21\t2025/06/10\t2\n");
    run = RunBuiltTool({"overdue", folder, "--class", "staff", "--date", "2025/06/12"});
    EXPECT_EQ(run.out,
              std::string(kHeader) +
                  "職員\t90001\t大野　先生\t0000013\t星の王子さま\t2025/05/21\t2025/06/10\t2\n");
    run = RunBuiltTool({"overdue", folder, "--date", "2025/06/10", "--class", "101"});
    EXPECT_EQ(
        run.out,
        std::string(kHeader) +
            "1年1組\t10101\t青木　一郎\t0000012\tかいけつゾロリ\t2025/05/20\t2025/06/09\t1\n");
}

TEST_F(OverdueCommand, NoneOverdueIsNoFailureAndWrongUseIsTwo) {
    auto run = RunBuiltTool({"overdue", folder, "--date", "2025/06/01"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kHeader);
    EXPECT_EQ(RunBuiltTool({"overdue", folder, "--date", "2025/13/01"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"overdue", folder, "--class", "1組"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"overdue", folder, "--when", "today"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"overdue"}).status, 2);
    EXPECT_EQ(RunBuiltTool({"overdue", (scratch / "missing").string()}).status, 1);
}

// A class code the school lacks is refused, not "0 件"; a day the calendar
// lacks is named as such.
TEST_F(OverdueCommand, AnUnknownClassAndAnImpossibleDayAreRefused) {
    auto run = RunBuiltTool({"overdue", folder, "--class", "999", "--date", "2025/06/12"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("999"), std::string::npos) << run.err;
    run = RunBuiltTool({"overdue", folder, "--date", "2026/02/30"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("2026/02/30 という日はありません"), std::string::npos) << run.err;
}

// As of a past day: the loan returned since counts, with its days then.
TEST_F(OverdueCommand, APastDayCountsLoansReturnedSince) {
    Sql("Update kashibo Set kashidashiF=NULL, henkyakubi='2025/06/20' Where BOOK_ID=12");
    auto run = RunBuiltTool({"overdue", folder, "--date", "2025/06/12", "--class", "101"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        std::string(kHeader) +
            "1年1組\t10101\t青木　一郎\t0000012\tかいけつゾロリ\t2025/05/20\t2025/06/09\t3\n");
    EXPECT_EQ(RunBuiltTool({"overdue", folder, "--date", "2025/06/21", "--class", "101"}).out,
              kHeader);
}

}  // namespace
}  // namespace tools_test
