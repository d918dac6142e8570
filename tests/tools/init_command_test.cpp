// init FOLDER: the data tables with their layouts, keys and indexes, and
// refusals that change nothing.
#include <gtest/gtest.h>

#include "data/schema.h"
#include "engine/common/error.h"
#include "engine/common/field_type.h"
#include "tools/admin_commands.h"
#include "tools/data_folder.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

using engine::ColumnType;
using engine::FieldType;
using kashidashi::admin::CommandInit;
using kashidashi::admin::DataFolder;

class InitCommand : public ToolsFixture {};

TEST_F(InitCommand, CreatesEveryDataTableWithItsLayout) {
    auto run = Run(CommandInit, {folder});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("データ表を作成しました"), std::string::npos);

    DataFolder data(folder);
    EXPECT_EQ(data.ExistingDataTables(), kashidashi::DataTableNames());
    const struct {
        std::string table, column;
        ColumnType type;
    } kCases[] = {
        {"Book", "BOOK_ID", {FieldType::Integer, 0}},
        {"Book", "syomei2", {FieldType::String, 60}},
        {"Book", "kakaku", {FieldType::Currency, 0}},
        {"Book", "NDC_ID", {FieldType::Float, 0}},
        {"Book", "ISBN", {FieldType::String, 15}},
        {"Book", "haikiF", {FieldType::Boolean, 0}},
        {"Name", "NAME_ID", {FieldType::String, 6}},
        {"Name", "sex", {FieldType::Smallint, 0}},
        {"kashibo", "henkyakuyotei", {FieldType::Date, 0}},
        {"yoyaku", "yoyakuDTime", {FieldType::DateTime, 0}},
        {"SYOZOKU", "SYOZOKU", {FieldType::String, 20}},
        {"Reg", "ID", {FieldType::AutoInc, 0}},
    };
    for (const auto& c : kCases) {
        auto schema = data.Database().Connection().DescribeTable(c.table);
        ASSERT_TRUE(schema) << c.table;
        auto column = schema->FindColumn(c.column);
        ASSERT_TRUE(column) << c.table << "." << c.column;
        EXPECT_EQ(schema->columns[*column].type, c.type) << c.table << "." << c.column;
    }
}

// 初期設定 edits the lending settings of Reg row 2: a new school has it, with
// nothing held back (new books lent at once, lending by ISBN allowed).
TEST_F(InitCommand, ANewSchoolHasTheLendingSettingsRow) {
    InitFolder();
    auto reg = Rows("Reg");
    ASSERT_EQ(reg.size(), 1u);
    EXPECT_EQ(reg[0]["ID"], "2");
    EXPECT_EQ(reg[0]["N1"], "0");
    EXPECT_EQ(reg[0]["N2"], "0");
}

TEST_F(InitCommand, KeysAndIndexesFindRows) {
    InitFolder();
    DataFolder data(folder);
    auto book = data.Table("Book");
    book->Open();
    for (int id : {3, 1, 2}) {
        book->Append();
        book->FieldByName("BOOK_ID").SetAsInteger(id);
        book->FieldByName("ISBN").SetAsString("97848120000" + std::to_string(id));
        book->Post();
    }
    book->SetIndexName("ISBN");
    ASSERT_TRUE(book->FindKey({engine::Value("978481200002")}));
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 2);
    // The primary key is unique.
    book->Append();
    book->FieldByName("BOOK_ID").SetAsInteger(1);
    EXPECT_THROW(book->Post(), engine::EngineError);
    book->Cancel();

    auto schema = data.Database().Connection().DescribeTable("Name");
    ASSERT_TRUE(schema->FindIndex("seito_No"));
    EXPECT_EQ(schema->PrimaryIndex()->columns, std::vector<std::string>{"NAME_ID"});
    EXPECT_EQ(data.Database().Connection().DescribeTable("kashibo")->PrimaryIndex(), nullptr);
}

TEST_F(InitCommand, RefusesAFolderThatHasDataTablesAndChangesNothing) {
    {
        DataFolder data(folder);
        data.RunScript("CREATE TABLE \"Reg\" (ID AUTOINC, N1 INTEGER)");
    }
    auto run = Run(CommandInit, {folder});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Reg"), std::string::npos) << run.err;
    DataFolder data(folder);
    EXPECT_EQ(data.ExistingDataTables(), std::vector<std::string>{"Reg"});
    EXPECT_EQ(data.Database().Connection().DescribeTable("Reg")->columns.size(), 2u);
}

TEST_F(InitCommand, RefusesASecondInit) {
    InitFolder();
    auto run = Run(CommandInit, {folder});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("既にデータ表があります"), std::string::npos) << run.err;
}

TEST_F(InitCommand, MissingFolderAndWrongUse) {
    auto missing = Run(CommandInit, {folder + "/nowhere"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("nowhere"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(folder + "/nowhere"));

    auto usage = Run(CommandInit, {});
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("使い方: kashidashi-admin init FOLDER"), std::string::npos);
}

}  // namespace
}  // namespace tools_test
