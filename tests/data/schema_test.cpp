// The DDL scripts parse in the engine's dialect and declare the layouts the
// program relies on.
#include "data/schema.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/sql/parser.h"

namespace {

using engine::ColumnType;
using engine::FieldType;
using engine::sql::CreateIndexStmt;
using engine::sql::CreateTableStmt;
using engine::sql::Statement;

std::vector<const CreateTableStmt*> Tables(const std::vector<Statement>& script) {
    std::vector<const CreateTableStmt*> tables;
    for (const auto& statement : script) {
        if (auto create = statement.As<CreateTableStmt>()) tables.push_back(create);
    }
    return tables;
}

const CreateTableStmt& Table(const std::vector<Statement>& script, const std::string& name) {
    for (auto create : Tables(script)) {
        if (create->table.text == name) return *create;
    }
    throw std::runtime_error("no table " + name);
}

ColumnType TypeOf(const CreateTableStmt& table, const std::string& column) {
    for (const auto& def : table.columns) {
        if (def.name.text == column) return def.type;
    }
    throw std::runtime_error("no column " + column);
}

std::vector<std::string> KeyOf(const CreateTableStmt& table) {
    std::vector<std::string> names;
    if (table.primaryKey) {
        for (const auto& name : table.primaryKey->columns) names.push_back(name.text);
    }
    return names;
}

TEST(SchemaScripts, DataTablesAreTheTenInOrderWithTheirOptions) {
    auto script = engine::sql::ParseScript(kashidashi::DataTablesScript());
    std::vector<std::string> names;
    for (auto create : Tables(script)) {
        names.push_back(create->table.text);
        EXPECT_FALSE(create->ifNotExists) << create->table.text;
        EXPECT_EQ(create->options.language, "ANSI Standard") << create->table.text;
        EXPECT_EQ(create->options.sort, "Default Order") << create->table.text;
        EXPECT_EQ(create->options.userMajorVersion, 1) << create->table.text;
    }
    EXPECT_EQ(names, kashidashi::DataTableNames());
}

TEST(SchemaScripts, DataTableColumnsKeysAndCompression) {
    auto script = engine::sql::ParseScript(kashidashi::DataTablesScript());
    using engine::sql::Compression;
    const struct {
        std::string table;
        size_t columns;
        std::vector<std::string> key;
        Compression compress;
    } kCases[] = {
        {"Book", 38, {"BOOK_ID"}, Compression::kFull},
        {"Name", 10, {"NAME_ID"}, Compression::kFull},
        {"kashibo", 8, {}, Compression::kDefault},
        {"yoyaku", 9, {"Book_ID", "yoyaku_No"}, Compression::kNone},
        {"NDC", 2, {"NDC_ID"}, Compression::kFull},
        {"HKN", 2, {"HKN_ID"}, Compression::kFull},
        {"ZAIGEN", 2, {"ZAIGEN_ID"}, Compression::kFull},
        {"UKEIRE", 2, {"UKEIRE_ID"}, Compression::kFull},
        {"SYOZOKU", 2, {"SYOZOKU_ID"}, Compression::kFull},
        {"Reg", 13, {"ID"}, Compression::kFull},
    };
    for (const auto& c : kCases) {
        const auto& table = Table(script, c.table);
        EXPECT_EQ(table.columns.size(), c.columns) << c.table;
        EXPECT_EQ(KeyOf(table), c.key) << c.table;
        if (table.primaryKey) {
            EXPECT_EQ(table.primaryKey->compress, c.compress) << c.table;
        }
    }
}

TEST(SchemaScripts, ColumnTypesThatOtherPartsDependOn) {
    auto data = engine::sql::ParseScript(kashidashi::DataTablesScript());
    auto settings = engine::sql::ParseScript(kashidashi::SettingsTablesScript());
    const struct {
        const std::vector<Statement>* script;
        std::string table, column;
        ColumnType type;
    } kCases[] = {
        {&data, "Book", "BOOK_ID", {FieldType::Integer, 0}},
        {&data, "Book", "kakaku", {FieldType::Currency, 0}},
        {&data, "Book", "kenmei1", {FieldType::Memo, 0}},
        {&data, "Book", "NDC_ID", {FieldType::Float, 0}},
        {&data, "Book", "ISBN", {FieldType::String, 15}},
        {&data, "Book", "URL", {FieldType::String, 100}},
        {&data, "Book", "sakujoF", {FieldType::Boolean, 0}},
        {&data, "Name", "sex", {FieldType::Smallint, 0}},
        {&data, "kashibo", "kashidashiF", {FieldType::String, 1}},
        {&data, "yoyaku", "yoyakuDTime", {FieldType::DateTime, 0}},
        {&data, "yoyaku", "Memo", {FieldType::String, 40}},
        {&data, "NDC", "NDC", {FieldType::String, 24}},
        {&data, "Reg", "ID", {FieldType::AutoInc, 0}},
        {&data, "Reg", "B4", {FieldType::String, 100}},
        {&settings, "Head", "meisyou", {FieldType::String, 100}},
        {&settings, "Head", "date2", {FieldType::Date, 0}},
        {&settings, "Head", "PathName4", {FieldType::String, 60}},
        {&settings, "Regist", "S10", {FieldType::String, 50}},
        {&settings, "Regist", "D10", {FieldType::Date, 0}},
        {&settings, "WK01", "syomei", {FieldType::String, 30}},
        {&settings, "wk", "ISBN", {FieldType::String, 100}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(TypeOf(Table(*c.script, c.table), c.column), c.type)
            << c.table << "." << c.column;
    }
}

TEST(SchemaScripts, SecondaryIndexes) {
    auto script = engine::sql::ParseScript(kashidashi::DataTablesScript());
    std::vector<std::string> indexes;
    for (const auto& statement : script) {
        if (auto index = statement.As<CreateIndexStmt>()) {
            ASSERT_EQ(index->columns.size(), 1u);
            indexes.push_back(index->table.text + "." + index->index.text + "(" +
                              index->columns[0].text + ")");
        }
    }
    EXPECT_EQ(indexes,
              (std::vector<std::string>{"Book.key1(key1)", "Book.key2(key2)", "Book.ISBN(ISBN)",
                                        "Name.seito_No(seito_No)", "kashibo.Book_ID(BOOK_ID)",
                                        "kashibo.Name_ID(NAME_ID)", "kashibo.ISBN_ID(ISBN_ID)",
                                        "kashibo.kashidashibi(kashidashibi)"}));
}

TEST(SchemaScripts, SettingsTablesInOrderCreatedOnlyWhenMissing) {
    auto script = engine::sql::ParseScript(kashidashi::SettingsTablesScript());
    std::vector<std::string> names;
    for (auto create : Tables(script)) {
        names.push_back(create->table.text);
        EXPECT_TRUE(create->ifNotExists);
        const bool plain = create->table.text == "wk";
        EXPECT_EQ(create->options.language.has_value(), !plain) << create->table.text;
    }
    EXPECT_EQ(names, kashidashi::SettingsTableNames());
    EXPECT_TRUE(KeyOf(Table(script, "Head")).empty());
    EXPECT_TRUE(KeyOf(Table(script, "wk")).empty());
    EXPECT_EQ(KeyOf(Table(script, "Regist")), std::vector<std::string>{"ID"});
    EXPECT_EQ(KeyOf(Table(script, "WK01")), std::vector<std::string>{"BOOK_ID"});
    EXPECT_EQ(Table(script, "Head").columns.size(), 28u);
    EXPECT_EQ(Table(script, "Head").columns.front().name.text, "meisyou");
    EXPECT_EQ(Table(script, "Regist").columns.size(), 41u);
}

TEST(SchemaScripts, HeadLayoutUnderAnotherNameIsTheHeadLayout) {
    auto settings = engine::sql::ParseScript(kashidashi::SettingsTablesScript());
    auto copy = engine::sql::ParseScript(kashidashi::HeadLayoutScript("Head$$"));
    ASSERT_EQ(copy.size(), 1u);
    const auto& created = *copy[0].As<CreateTableStmt>();
    const auto& head = Table(settings, "Head");
    EXPECT_EQ(created.table.text, "Head$$");
    EXPECT_TRUE(created.ifNotExists);
    ASSERT_EQ(created.columns.size(), head.columns.size());
    for (size_t i = 0; i < head.columns.size(); ++i) {
        EXPECT_EQ(created.columns[i].name.text, head.columns[i].name.text);
        EXPECT_EQ(created.columns[i].type, head.columns[i].type);
    }
}

}  // namespace
