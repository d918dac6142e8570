// ReplaceTableByCopy: the copy into a new layout, the skipped rows, and a
// source that survives every copy that did not complete.
#include <gtest/gtest.h>

#include "data/U_MakeTable.h"
#include "data_fixture.h"
#include "engine/common/dates.h"

namespace data_test {
namespace {

using engine::MakeDate;
using engine::Value;
using kashidashi::TMakeTable;

class ReplaceTableByCopyTest : public DataFixture {
  protected:
    void SetUp() override {
        DataFixture::SetUp();
        RunSql("CREATE TABLE Old (Code CHARACTER(10), Name CHARACTER(10), Day DATE, Gone INTEGER)");
        RunSql("CREATE TABLE New (Name CHARACTER(40), Code INTEGER, Day DATE, Price MONEY)");
        source = Table("Old");
        target = Table("New");
    }
    void Replace() { TMakeTable::ReplaceTableByCopy(*source, *target); }

    std::unique_ptr<engine::TDBTable> source;
    std::unique_ptr<engine::TDBTable> target;
};

TEST_F(ReplaceTableByCopyTest, CopiesByNameThenTheTargetTakesTheSourcesName) {
    AppendRow("Old", {{"Code", "12"}, {"Name", "一"}, {"Day", MakeDate(2020, 7, 29)}, {"Gone", 9}});
    AppendRow("Old", {{"Code", "0034"}, {"Name", ""}});
    Replace();
    EXPECT_FALSE(TableExists("New"));
    EXPECT_EQ(Layout("Old"), (std::vector<std::string>{"Name CHAR(40)", "Code INTEGER", "Day DATE",
                                                       "Price MONEY"}));
    const auto rows = Rows("Old");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(
        rows[0],
        (RowValues{
            {"Name", "一"}, {"Code", 12}, {"Day", MakeDate(2020, 7, 29)}, {"Price", Value()}}));
    EXPECT_EQ(rows[1],
              (RowValues{{"Name", Value()}, {"Code", 34}, {"Day", Value()}, {"Price", Value()}}));
    EXPECT_EQ(target->TableName(), "Old");
}

TEST_F(ReplaceTableByCopyTest, RowThatCannotBeCopiedIsSkipped) {
    AppendRow("Old", {{"Code", "1"}, {"Name", "a"}});
    AppendRow("Old", {{"Code", "x1"}, {"Name", "b"}});  // no whole number for the INTEGER Code
    AppendRow("Old", {{"Code", "3"}, {"Name", "c"}});
    Replace();
    const auto rows = Rows("Old");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("Name"), Value("a"));
    EXPECT_EQ(rows[1].at("Name"), Value("c"));
}

TEST_F(ReplaceTableByCopyTest, EmptySourceIsReplacedByTheEmptyTarget) {
    Replace();
    EXPECT_FALSE(TableExists("New"));
    EXPECT_EQ(Layout("Old").front(), "Name CHAR(40)");
    EXPECT_TRUE(Rows("Old").empty());
}

TEST_F(ReplaceTableByCopyTest, SourceSurvivesWhenNoRowCouldBeCopied) {
    AppendRow("Old", {{"Code", "x1"}, {"Name", "a"}});
    AppendRow("Old", {{"Code", "x2"}, {"Name", "b"}});
    try {
        Replace();
        FAIL() << "a copy without any row replaced its source";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("元のテーブルはそのまま残しています"),
                  std::string::npos);
    }
    EXPECT_EQ(Layout("Old").front(), "Code CHAR(10)");
    EXPECT_EQ(Rows("Old").size(), 2u);
    EXPECT_TRUE(TableExists("New"));
    EXPECT_FALSE(source->Active());
    EXPECT_FALSE(target->Active());
}

TEST_F(ReplaceTableByCopyTest, SourceSurvivesWhenTheTargetCannotBeOpened) {
    AppendRow("Old", {{"Code", "1"}, {"Name", "a"}});
    RunSql("DROP TABLE New");
    EXPECT_THROW(Replace(), std::exception);
    EXPECT_EQ(Rows("Old").size(), 1u);
    EXPECT_FALSE(source->Active());
}

TEST_F(ReplaceTableByCopyTest, SourceSurvivesWhenAnotherUserHoldsIt) {
    AppendRow("Old", {{"Code", "1"}, {"Name", "a"}});
    engine::TDBSession otherSession("DOTHER");
    engine::TDBDatabase otherDatabase("DB2", otherSession);
    otherDatabase.SetDirectory(folder.string());
    engine::TDBTable held;
    held.SetSessionName("DOTHER");
    held.SetDatabaseName("DB2");
    held.SetTableName("Old");
    held.Open();
    EXPECT_THROW(Replace(), std::exception);
    held.Close();
    EXPECT_EQ(Layout("Old").front(), "Code CHAR(10)");
    EXPECT_EQ(Rows("Old").size(), 1u);
}

}  // namespace
}  // namespace data_test
