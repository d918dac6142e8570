// The schema side of the SQLite backend: tables, their columns and indexes.
// An index "name" of table T is the SQLite index "T$name"; the primary index
// is "T$PRIMARY", a unique index.
#include <algorithm>

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/storage/sql_text/sql_writer.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "engine/storage/sqlite/type_codec.h"

namespace engine::storage::sqlite {
namespace {

using sqltext::QuoteName;

constexpr const char* kPrimaryName = "PRIMARY";

std::string IndexSqlName(const std::string& table, const std::string& index) {
    return table + "$" + index;
}

}  // namespace

void SqliteConnection::CheckSchemaVersion() {
    Statement& statement = cache_->Get("PRAGMA schema_version");
    statement.Step();
    int64_t version = statement.ColumnInteger(0);
    statement.Reset();
    if (version != schemaVersion_) {
        schemas_.clear();
        schemaVersion_ = version;
    }
}

std::vector<std::string> SqliteConnection::TableNames() {
    std::vector<std::string> names;
    if (!OpenFile(false)) return names;
    Statement& statement =
        cache_->Get("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    while (statement.Step()) names.push_back(statement.ColumnText(0));
    return names;
}

std::optional<TableSchema> SqliteConnection::DescribeTable(const std::string& name) {
    if (!OpenFile(false)) return std::nullopt;
    return NamingTable(name, [&]() -> std::optional<TableSchema> {
        CheckSchemaVersion();
        auto key = LowerName(name);
        if (auto it = schemas_.find(key); it != schemas_.end()) return it->second;
        Statement& find = cache_->Get(
            "SELECT name FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE");
        find.Bind(1, Value(name));
        if (!find.Step()) return std::nullopt;
        std::string stored = find.ColumnText(0);
        find.Reset();
        return schemas_[key] = LoadSchema(stored);
    });
}

TableSchema SqliteConnection::LoadSchema(const std::string& name) {
    TableSchema schema;
    schema.name = name;
    Statement info(db_, "PRAGMA table_info(" + QuoteName(name) + ")");
    while (info.Step()) {
        auto type = ParseDeclaredType(info.ColumnText(2));
        if (!type)
            throw EngineError::Make(err::kCorruptFile, folder_, "unknown column type in " + name);
        schema.columns.push_back({info.ColumnText(1), *type});
    }
    schema.indexes = LoadIndexes(name);
    return schema;
}

std::vector<IndexDef> SqliteConnection::LoadIndexes(const std::string& table) {
    std::vector<IndexDef> indexes;
    Statement list(db_,
                   "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=? "
                   "COLLATE NOCASE AND name LIKE ? ORDER BY name");
    list.Bind(1, Value(table));
    list.Bind(2, Value(table + "$%"));
    while (list.Step()) {
        std::string sqlName = list.ColumnText(0);
        IndexDef index;
        index.name = sqlName.substr(table.size() + 1);
        index.primary = index.name == kPrimaryName;
        Statement columns(db_, "PRAGMA index_info(" + QuoteName(sqlName) + ")");
        while (columns.Step()) index.columns.push_back(columns.ColumnText(2));
        indexes.push_back(std::move(index));
    }
    // The primary index comes first, as the default order of the table.
    std::stable_partition(indexes.begin(), indexes.end(),
                          [](const IndexDef& i) { return i.primary; });
    for (auto& index : indexes) index.unique = index.primary;
    return indexes;
}

void SqliteConnection::WriteIndex(const std::string& table, const IndexDef& index) {
    std::string sql = index.primary || index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += QuoteName(IndexSqlName(table, index.primary ? kPrimaryName : index.name)) + " ON " +
           QuoteName(table) + " (";
    for (size_t i = 0; i < index.columns.size(); ++i)
        sql += (i ? ", " : "") + QuoteName(index.columns[i]);
    Exec(sql + ")");
}

void SqliteConnection::CreateTable(const TableSchema& table) {
    if (DescribeTable(table.name)) throw EngineError::Make(err::kTableExists, table.name);
    std::string sql = "CREATE TABLE " + QuoteName(table.name) + " (";
    for (size_t i = 0; i < table.columns.size(); ++i)
        sql += (i ? ", " : "") + QuoteName(table.columns[i].name) + " " +
               DeclaredType(table.columns[i].type);
    Atomically(table.name, [&] {
        // Two programs making a table on first need at once: the second
        // sees the first's table once it holds the write lock.
        if (DescribeTable(table.name)) throw EngineError::Make(err::kTableExists, table.name);
        Exec(sql + ")");
        for (const auto& index : table.indexes) WriteIndex(table.name, index);
    });
}

void SqliteConnection::AddColumns(const std::string& table, const std::vector<ColumnDef>& columns) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    Atomically(schema->name, [&] {
        for (const auto& column : columns)
            Exec("ALTER TABLE " + QuoteName(schema->name) + " ADD COLUMN " +
                 QuoteName(column.name) + " " + DeclaredType(column.type));
    });
}

void SqliteConnection::CreateIndex(const std::string& table, const IndexDef& index) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    Atomically(schema->name, [&] { WriteIndex(schema->name, index); });
}

void SqliteConnection::DropTable(const std::string& table) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    Atomically(schema->name, [&] { Exec("DROP TABLE " + QuoteName(schema->name)); });
}

void SqliteConnection::RenameTable(const std::string& table, const std::string& newName) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    if (!SameName(table, newName) && DescribeTable(newName))
        throw EngineError::Make(err::kTableExists, newName);
    // SQLite keeps index names across a rename; ours carry the table's name.
    Atomically(schema->name, [&] {
        for (const auto& index : schema->indexes)
            Exec("DROP INDEX " +
                 QuoteName(IndexSqlName(schema->name, index.primary ? kPrimaryName : index.name)));
        Exec("ALTER TABLE " + QuoteName(schema->name) + " RENAME TO " + QuoteName(newName));
        for (const auto& index : schema->indexes) WriteIndex(newName, index);
    });
}

void SqliteConnection::EmptyTable(const std::string& table) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    Atomically(schema->name, [&] { Exec("DELETE FROM " + QuoteName(schema->name)); });
}

}  // namespace engine::storage::sqlite
