#include "engine/translate/ddl_executor.h"

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/sql/source_position.h"
#include "engine/translate/select_binder.h"

namespace engine::translate {
namespace {

// Holds a table for exclusive use for the life of the object: 10241 when
// another data set, of this session or another, has the table open.
class ExclusiveUse {
  public:
    ExclusiveUse(storage::Connection& connection, std::string table)
        : connection_(connection), table_(std::move(table)) {
        if (!connection_.TryUseTable(table_, storage::TableUse::Exclusive))
            throw EngineError::Make(err::kTableLocked, table_);
    }
    ~ExclusiveUse() { connection_.EndUseTable(table_, storage::TableUse::Exclusive); }
    ExclusiveUse(const ExclusiveUse&) = delete;
    ExclusiveUse& operator=(const ExclusiveUse&) = delete;

  private:
    storage::Connection& connection_;
    std::string table_;
};

// Fails when a name of `names` is given twice, or (with `known`) is none of `known`'s columns.
void CheckColumnNames(const std::vector<sql::Name>& names, const storage::TableSchema* known,
                      std::string_view text, std::string_view what) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (known && !known->FindColumn(names[i].text))
            sql::ThrowSqlError(text, names[i].offset,
                               "unknown column '" + names[i].text + "' in " + std::string(what));
        for (size_t j = 0; j < i; ++j)
            if (SameName(names[j].text, names[i].text))
                sql::ThrowSqlError(text, names[i].offset,
                                   "the column '" + names[i].text + "' is given twice");
    }
}

std::vector<sql::Name> NamesOf(const std::vector<sql::ColumnDef>& columns) {
    std::vector<sql::Name> names;
    for (const auto& column : columns) names.push_back(column.name);
    return names;
}

std::vector<storage::ColumnDef> StoredColumns(const std::vector<sql::ColumnDef>& columns) {
    std::vector<storage::ColumnDef> stored;
    for (const auto& column : columns) stored.push_back({column.name.text, column.type});
    return stored;
}

// An index over checked columns, each named as the table declares it.
storage::IndexDef MakeIndex(std::string name, const std::vector<sql::Name>& columns,
                            const storage::TableSchema& table, bool primary, bool unique) {
    storage::IndexDef index{std::move(name), {}, primary, unique || primary};
    for (const auto& column : columns)
        index.columns.push_back(table.columns[*table.FindColumn(column.text)].name);
    return index;
}

void CreateStoredTable(const storage::TableSchema& table, storage::Connection& connection,
                       bool ifNotExists) {
    try {
        connection.CreateTable(table);
    } catch (const EngineError& error) {
        // Another desk may have made it since we looked.
        if (!ifNotExists || error.code() != err::kTableExists) throw;
    }
}

void CreateTable(const sql::CreateTableStmt& create, storage::Connection& connection,
                 std::string_view text) {
    if (connection.DescribeTable(create.table.text)) {
        if (create.ifNotExists) return;
        throw EngineError::Make(err::kTableExists, create.table.text);
    }
    storage::TableSchema table{create.table.text, StoredColumns(create.columns), {}};
    CheckColumnNames(NamesOf(create.columns), nullptr, text, "the table");
    if (const auto& key = create.primaryKey) {
        CheckColumnNames(key->columns, &table, text, "the primary key");
        table.indexes.push_back(MakeIndex("PRIMARY", key->columns, table, true, true));
    }
    CreateStoredTable(table, connection, create.ifNotExists);
}

void AlterTable(const sql::AlterTableStmt& alter, storage::Connection& connection,
                std::string_view text) {
    storage::TableSchema table = LookupTable(connection, alter.table);
    auto names = NamesOf(alter.addColumns);
    CheckColumnNames(names, nullptr, text, "the table");
    for (const auto& name : names)
        if (table.FindColumn(name.text))
            sql::ThrowSqlError(
                text, name.offset,
                "the table '" + table.name + "' already has a column '" + name.text + "'");
    ExclusiveUse use(connection, table.name);
    connection.AddColumns(table.name, StoredColumns(alter.addColumns));
}

void CreateIndex(const sql::CreateIndexStmt& create, storage::Connection& connection,
                 std::string_view text) {
    storage::TableSchema table = LookupTable(connection, create.table);
    CheckColumnNames(create.columns, &table, text, "the index");
    if (table.FindIndex(create.index.text) || SameName(create.index.text, "PRIMARY"))
        sql::ThrowSqlError(
            text, create.index.offset,
            "the table '" + table.name + "' already has an index '" + create.index.text + "'");
    connection.CreateIndex(
        table.name, MakeIndex(create.index.text, create.columns, table, false, create.unique));
}

void DropTable(const sql::DropTableStmt& drop, storage::Connection& connection) {
    storage::TableSchema table = LookupTable(connection, drop.table);
    ExclusiveUse use(connection, table.name);
    connection.DropTable(table.name);
}

}  // namespace

bool IsDefinition(const sql::Statement& statement) {
    return statement.As<sql::CreateTableStmt>() || statement.As<sql::AlterTableStmt>() ||
           statement.As<sql::CreateIndexStmt>() || statement.As<sql::DropTableStmt>();
}

void ExecuteDefinition(const sql::Statement& statement, storage::Connection& connection,
                       std::string_view text) {
    if (auto* create = statement.As<sql::CreateTableStmt>())
        return CreateTable(*create, connection, text);
    if (auto* alter = statement.As<sql::AlterTableStmt>())
        return AlterTable(*alter, connection, text);
    if (auto* index = statement.As<sql::CreateIndexStmt>())
        return CreateIndex(*index, connection, text);
    if (auto* drop = statement.As<sql::DropTableStmt>()) return DropTable(*drop, connection);
    sql::ThrowSqlError(text, statement.offset, "not a data definition statement");
}

}  // namespace engine::translate
