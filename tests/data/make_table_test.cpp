// Creating the settings tables at start and upgrading older head tables.
#include "data/U_MakeTable.h"

#include <gtest/gtest.h>

#include "data/schema.h"
#include "data_fixture.h"
#include "engine/common/dates.h"

namespace data_test {
namespace {

using engine::Date;
using engine::MakeDate;
using engine::Today;
using engine::Value;
using kashidashi::TMakeTable;

const std::string kFullWidthBlank = "\u3000";

// The head layout before PM8 ... PM10 and PathName3, PathName4 were added;
// meisyou is 30 wide and PathName1 stands elsewhere, so that the rebuild can
// only match columns by name.
const char* const kNarrowHead = R"(CREATE TABLE "Head" (
  meisyou CHARACTER(30), PathName1 CHARACTER(100), daihyou CHARACTER(20),
  PostNo CHARACTER(15), jyusyo CHARACTER(100), tel CHARACTER(15),
  PM1 INTEGER, PM2 INTEGER, PM3 INTEGER, PM4 INTEGER, PM5 INTEGER, nendo INTEGER,
  PathName2 CHARACTER(100), date1 DATE, date2 DATE, kashisuu INTEGER,
  seito_No1 CHARACTER(5), seito_No2 CHARACTER(5), UserName CHARACTER(20),
  UserPW CHARACTER(20), HostName CHARACTER(20), portNo INTEGER, DataBaseName CHARACTER(20),
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1))";

// The current layout without PathName3 and PathName4 (and, when asked, without PM8 ... PM10).
std::string OlderHead(bool withPm8) {
    std::string script = kashidashi::HeadLayoutScript("Head");
    auto cut = [&](const std::string& from, const std::string& to) {
        const size_t begin = script.find(from);
        script.erase(begin, script.find(to) - begin);
    };
    cut("  PathName3", "  LANGUAGE");
    if (!withPm8) cut("  PM8", "  LANGUAGE");
    return script;
}

// A head row with a value in every column of the narrow layout.
RowValues FullOldRow() {
    return {{"meisyou", "市立図書中学校"},
            {"PathName1", "D:\\Lib\\"},
            {"daihyou", "山田　花子"},
            {"PostNo", "100-0001"},
            {"jyusyo", "東京都千代田区"},
            {"tel", "03-1234-5678"},
            {"PM1", 14},
            {"PM2", 2},
            {"PM3", 3},
            {"PM4", 1},
            {"PM5", 42},
            {"nendo", 2015},
            {"PathName2", "E:\\Back\\"},
            {"date1", MakeDate(2015, 4, 1)},
            {"date2", MakeDate(2016, 3, 31)},
            {"kashisuu", 3},
            {"seito_No1", "00001"},
            {"seito_No2", "99999"},
            {"UserName", "lib"},
            {"UserPW", "secret"},
            {"HostName", "server1"},
            {"portNo", 5432},
            {"DataBaseName", "Lib"}};
}

// The eleven values a new or emptied head row gets.
RowValues NewRowValues() {
    const Date today = Today();
    return {{"PM1", 5},
            {"PM5", 1234},
            {"nendo", kashidashi::SchoolYearOf(today)},
            {"date1", today},
            {"date2", today},
            {"kashisuu", 5},
            {"UserName", "Admin"},
            {"UserPW", "PqRelay"},
            {"portNo", 12005},
            {"DataBaseName", "Book"},
            {"meisyou", kFullWidthBlank}};
}

void ExpectValues(const RowValues& row, const RowValues& expected) {
    for (const auto& [column, value] : expected) {
        ASSERT_TRUE(row.count(column)) << column;
        EXPECT_EQ(row.at(column), value) << column;
    }
}

void ExpectNull(const RowValues& row, const std::vector<std::string>& columns) {
    for (const auto& column : columns) {
        ASSERT_TRUE(row.count(column)) << column;
        EXPECT_TRUE(row.at(column).IsNull()) << column;
    }
}

class MakeSettingsTablesTest : public DataFixture {
  protected:
    void Make() { TMakeTable("DB", SessionName()).MakeSettingsTables(); }
    std::vector<std::string> CurrentHeadLayout() {
        RunSql(kashidashi::HeadLayoutScript("Reference"));
        auto layout = Layout("Reference");
        RunSql("DROP TABLE Reference");
        return layout;
    }
};

TEST(SchoolYear, BeginsInApril) {
    const struct {
        Date day;
        int year;
    } kCases[] = {{MakeDate(2024, 1, 1), 2023},
                  {MakeDate(2024, 3, 31), 2023},
                  {MakeDate(2024, 4, 1), 2024},
                  {MakeDate(2024, 12, 31), 2024}};
    for (const auto& c : kCases) EXPECT_EQ(kashidashi::SchoolYearOf(c.day), c.year);
}

TEST_F(MakeSettingsTablesTest, FirstStartCreatesTheFourTablesAndOneNewHeadRow) {
    Make();
    for (const auto& name : kashidashi::SettingsTableNames()) {
        EXPECT_TRUE(TableExists(name)) << name;
    }
    EXPECT_FALSE(TableExists("Head$$"));
    const auto rows = Rows("head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], NewRowValues());
    ExpectNull(rows[0], {"daihyou", "PostNo", "jyusyo", "tel", "PM2", "PM3", "PM4", "PathName1",
                         "PathName2", "seito_No1", "seito_No2", "HostName", "PM8", "PM9", "PM10",
                         "PathName3", "PathName4"});
    EXPECT_EQ(Layout("Head"), CurrentHeadLayout());
    EXPECT_TRUE(Rows("Regist").empty());
    EXPECT_TRUE(Rows("WK01").empty());
    EXPECT_TRUE(Rows("wk").empty());
}

TEST_F(MakeSettingsTablesTest, EmptiedMeisyouGetsTheElevenValuesAgainAndKeepsTheRest) {
    Make();
    auto head = Table("head");
    head->Open();
    head->Edit();
    const RowValues changed = {{"meisyou", ""},
                               {"PM1", 21},
                               {"PM5", 4321},
                               {"nendo", 1999},
                               {"UserName", "someone"},
                               {"portNo", 1},
                               {"PathName1", "D:\\Lib\\"},
                               {"PM4", 1},
                               {"HostName", "srv"},
                               {"PM8", 2},
                               {"daihyou", "校長"}};
    for (const auto& [column, value] : changed) head->FieldByName(column).SetValue(value);
    head->Post();
    head->Close();

    Make();
    const auto rows = Rows("head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], NewRowValues());
    ExpectValues(rows[0], {{"PathName1", "D:\\Lib\\"},
                           {"PM4", 1},
                           {"HostName", "srv"},
                           {"PM8", 2},
                           {"daihyou", "校長"}});
}

TEST_F(MakeSettingsTablesTest, OlderHeadGetsTheMissingColumnsNullInItsRow) {
    for (bool withPm8 : {true, false}) {
        SCOPED_TRACE(withPm8 ? "without PathName3/4" : "without PM8 ... PathName4");
        if (TableExists("Head")) RunSql("DROP TABLE Head");
        RunSql(OlderHead(withPm8));
        AppendRow("Head", {{"meisyou", "第一中学校"}, {"PM1", 7}, {"PathName1", "C:\\Book\\"}});
        Make();
        EXPECT_EQ(Layout("Head"), CurrentHeadLayout());
        const auto rows = Rows("Head");
        ASSERT_EQ(rows.size(), 1u);
        ExpectValues(rows[0], {{"meisyou", "第一中学校"}, {"PM1", 7}, {"PathName1", "C:\\Book\\"}});
        ExpectNull(rows[0], {"PM5", "PM8", "PM9", "PM10", "PathName3", "PathName4"});
    }
}

TEST_F(MakeSettingsTablesTest, NarrowHeadIsRebuiltWithEveryValueByName) {
    RunSql(kNarrowHead);
    AppendRow("Head", FullOldRow());
    Make();
    EXPECT_EQ(Layout("Head"), CurrentHeadLayout());
    EXPECT_FALSE(TableExists("Head$$"));
    const auto rows = Rows("Head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], FullOldRow());
    ExpectNull(rows[0], {"PM8", "PM9", "PM10", "PathName3", "PathName4"});
}

TEST_F(MakeSettingsTablesTest, NarrowHeadWithEmptyMeisyouGetsTheNewValuesBeforeTheRebuild) {
    RunSql(kNarrowHead);
    AppendRow("Head", {{"PathName1", "D:\\Lib\\"}, {"tel", "0120"}});
    Make();
    const auto rows = Rows("Head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], NewRowValues());
    ExpectValues(rows[0], {{"PathName1", "D:\\Lib\\"}, {"tel", "0120"}});
}

TEST_F(MakeSettingsTablesTest, SecondStartChangesNothing) {
    Make();
    AppendRow("Regist", {{"ID", 50}, {"P1", 1}, {"S1", "机"}});
    AppendRow("WK01", {{"BOOK_ID", 123}, {"syomei", "こころ"}});
    auto head = Table("head");
    head->Open();
    head->Edit();
    head->FieldByName("meisyou").SetAsString("北中学校");
    head->FieldByName("PM1").SetAsInteger(10);
    head->Post();
    head->Close();
    std::map<std::string, std::pair<std::vector<std::string>, std::vector<RowValues>>> before;
    for (const auto& name : kashidashi::SettingsTableNames()) {
        before[name] = {Layout(name), Rows(name)};
    }
    Make();
    for (const auto& name : kashidashi::SettingsTableNames()) {
        EXPECT_EQ(Layout(name), before[name].first) << name;
        EXPECT_EQ(Rows(name), before[name].second) << name;
    }
}

TEST_F(MakeSettingsTablesTest, LeftoverCopyFromAnInterruptedRebuildIsNotCopiedTwice) {
    RunSql(kNarrowHead);
    AppendRow("Head", FullOldRow());
    RunSql(kashidashi::HeadLayoutScript("Head$$"));
    AppendRow("Head$$", {{"meisyou", "途中までの複写"}});
    Make();
    const auto rows = Rows("Head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], FullOldRow());
    EXPECT_FALSE(TableExists("Head$$"));
}

TEST_F(MakeSettingsTablesTest, CopyLeftWithoutItsHeadBecomesTheHeadAgain) {
    // A rebuild that stopped between deleting Head and renaming the copy.
    RunSql(kashidashi::HeadLayoutScript("Head$$"));
    AppendRow("Head$$", {{"meisyou", "南小学校"}, {"PM5", 5678}});
    Make();
    EXPECT_FALSE(TableExists("Head$$"));
    const auto rows = Rows("Head");
    ASSERT_EQ(rows.size(), 1u);
    ExpectValues(rows[0], {{"meisyou", "南小学校"}, {"PM5", 5678}});
}

}  // namespace
}  // namespace data_test
