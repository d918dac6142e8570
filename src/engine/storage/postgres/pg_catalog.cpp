// The schema side of the server backend: tables, their columns and indexes,
// read from the server's catalog and written as DDL in one transaction.
#include <algorithm>

#include "engine/common/names.h"
#include "engine/storage/postgres/pg_connection.h"
#include "engine/storage/postgres/pg_dialect.h"
#include "engine/storage/postgres/pg_values.h"
#include "engine/storage/sql_text/sql_writer.h"

namespace engine::storage::postgres {
namespace {

using sqltext::QuoteName;

constexpr const char* kPrimaryName = "PRIMARY";
constexpr const char* kTablesHere =
    "c.relkind = 'r' AND c.relnamespace = "
    "(SELECT oid FROM pg_namespace WHERE nspname = current_schema())";

std::string IndexSqlName(const std::string& table, const std::string& index) {
    return table + "$" + index;
}

std::string IndexSqlName(const std::string& table, const IndexDef& index) {
    return IndexSqlName(table, index.primary ? kPrimaryName : index.name);
}

}  // namespace

std::vector<std::string> PgConnection::TableNames() {
    auto result = link_.Exec(std::string("SELECT c.relname FROM pg_class c WHERE ") + kTablesHere +
                             " ORDER BY c.relname");
    std::vector<std::string> names;
    for (int i = 0; i < result.Rows(); ++i) names.emplace_back(result.Text(i, 0));
    return names;
}

// One round trip: the columns ("c" rows, in their order) and then the index
// columns ("i" rows, by index name and position) of the table.
std::optional<TableSchema> PgConnection::DescribeTable(const std::string& name) {
    auto result = link_.Exec(
        std::string("WITH t AS (SELECT c.oid, c.relname FROM pg_class c WHERE ") + kTablesHere +
            " AND lower(c.relname) = lower($1::text)) "
            "SELECT 'c', t.relname, a.attname, format_type(a.atttypid, a.atttypmod), "
            "coalesce(col_description(t.oid, a.attnum), ''), a.attnum::int FROM t "
            "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum > 0 AND NOT a.attisdropped "
            "UNION ALL SELECT 'i', i.relname, a.attname, '', '', k.n::int FROM t "
            "JOIN pg_index x ON x.indrelid = t.oid JOIN pg_class i ON i.oid = x.indexrelid "
            "CROSS JOIN LATERAL unnest(x.indkey::int2[]) WITH ORDINALITY AS k(attnum, n) "
            "JOIN pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = k.attnum "
            "ORDER BY 1, 2, 6",
        {Value(name)});
    if (result.Rows() == 0) {
        described_.erase(LowerName(name));
        return std::nullopt;
    }
    TableSchema schema;
    schema.name = result.Text(0, 1);
    int row = 0;
    for (; row < result.Rows() && result.Text(row, 0) == "c"; ++row) {
        std::string column(result.Text(row, 2));
        if (column == kRowIdColumn) continue;
        auto type =
            ParseDeclaredType(std::string(result.Text(row, 3)), std::string(result.Text(row, 4)));
        if (!type)
            throw EngineError::Make(err::kCorruptFile, Location(),
                                    "unknown column type in " + schema.name);
        schema.columns.push_back({column, *type});
    }
    schema.indexes = LoadIndexes(result, row, schema.name);
    // What a transaction sees of the schema may yet be rolled back.
    if (!inTransaction_) described_[LowerName(name)] = schema;
    return schema;
}

std::optional<TableSchema> PgConnection::DescribeTableKept(const std::string& name) {
    if (describedAt_ != SchemaChanges()) {
        described_.clear();
        describedAt_ = SchemaChanges();
    }
    if (auto it = described_.find(LowerName(name)); it != described_.end()) return it->second;
    return DescribeTable(name);
}

void PgConnection::AlterSchema(const std::string& table, const std::function<void()>& work) {
    described_.clear();
    try {
        Atomically(table, work);
    } catch (...) {
        described_.clear();
        throw;
    }
    described_.clear();
}

// The index rows of `result` from `row` on.
std::vector<IndexDef> PgConnection::LoadIndexes(const PgResult& result, int row,
                                                const std::string& table) {
    std::vector<IndexDef> indexes;
    const std::string prefix = table + "$";
    for (int i = row; i < result.Rows(); ++i) {
        std::string sqlName(result.Text(i, 1)), column(result.Text(i, 2));
        if (sqlName.rfind(prefix, 0) != 0 || column == kRowIdColumn) continue;
        if (indexes.empty() || indexes.back().name != sqlName.substr(prefix.size())) {
            indexes.push_back({sqlName.substr(prefix.size()), {}});
            indexes.back().primary = indexes.back().name == kPrimaryName;
            indexes.back().unique = indexes.back().primary;
        }
        indexes.back().columns.push_back(column);
    }
    // The primary index comes first, as the default order of the table.
    std::stable_partition(indexes.begin(), indexes.end(),
                          [](const IndexDef& i) { return i.primary; });
    return indexes;
}

TableSchema PgConnection::Require(const std::string& table) {
    auto schema = DescribeTable(table);
    if (!schema) throw EngineError::Make(err::kTableMissing, table);
    return *schema;
}

// A unique index holds the columns alone; any other ends with the row id,
// so that it serves a walk in (columns, row id) order.
void PgConnection::WriteIndex(const std::string& table, const IndexDef& index) {
    bool unique = index.primary || index.unique;
    std::string sql = unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += QuoteName(IndexSqlName(table, index)) + " ON " + QuoteName(table) + " (";
    for (size_t i = 0; i < index.columns.size(); ++i)
        sql += (i ? ", " : "") + QuoteName(index.columns[i]) + " NULLS FIRST";
    Exec(sql + (unique ? ")" : std::string(", ") + kRowIdColumn + ")"));
}

void PgConnection::WriteColumn(const std::string& table, const ColumnDef& column, bool add) {
    if (add)
        Exec("ALTER TABLE " + QuoteName(table) + " ADD COLUMN " + QuoteName(column.name) + " " +
             DeclaredType(column.type));
    std::string comment = TypeComment(column.type);
    if (!comment.empty())
        Exec("COMMENT ON COLUMN " + QuoteName(table) + "." + QuoteName(column.name) + " IS '" +
             comment + "'");
}

void PgConnection::CreateTable(const TableSchema& table) {
    if (DescribeTable(table.name)) throw EngineError::Make(err::kTableExists, table.name);
    std::string sql = "CREATE TABLE " + QuoteName(table.name) + " (" + kRowIdColumn +
                      " bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
    for (const auto& column : table.columns)
        sql += ", " + QuoteName(column.name) + " " + DeclaredType(column.type);
    AlterSchema(table.name, [&] {
        // Two programs making a table on first need at once: the second
        // waits for the first's and then finds it, instead of failing on the
        // catalogue's own unique index.
        link_.Exec("SELECT pg_advisory_xact_lock(hashtext(lower($1::text)))",
                   {Value("create:" + table.name)});
        if (DescribeTable(table.name)) throw EngineError::Make(err::kTableExists, table.name);
        Exec(sql + ")");
        for (const auto& column : table.columns) WriteColumn(table.name, column, false);
        for (const auto& index : table.indexes) WriteIndex(table.name, index);
    });
}

void PgConnection::AddColumns(const std::string& table, const std::vector<ColumnDef>& columns) {
    TableSchema schema = Require(table);
    AlterSchema(schema.name, [&] {
        for (const auto& column : columns) WriteColumn(schema.name, column, true);
    });
}

void PgConnection::CreateIndex(const std::string& table, const IndexDef& index) {
    TableSchema schema = Require(table);
    AlterSchema(schema.name, [&] { WriteIndex(schema.name, index); });
}

void PgConnection::DropTable(const std::string& table) {
    TableSchema schema = Require(table);
    AlterSchema(schema.name, [&] { Exec("DROP TABLE " + QuoteName(schema.name)); });
}

void PgConnection::RenameTable(const std::string& table, const std::string& newName) {
    TableSchema schema = Require(table);
    if (!SameName(table, newName) && DescribeTable(newName))
        throw EngineError::Make(err::kTableExists, newName);
    // Our index names carry the table's name.
    AlterSchema(schema.name, [&] {
        Exec("ALTER TABLE " + QuoteName(schema.name) + " RENAME TO " + QuoteName(newName));
        for (const auto& index : schema.indexes)
            Exec("ALTER INDEX " + QuoteName(IndexSqlName(schema.name, index)) + " RENAME TO " +
                 QuoteName(IndexSqlName(newName, index)));
    });
}

void PgConnection::EmptyTable(const std::string& table) {
    TableSchema schema = Require(table);
    Atomically(
        schema.name, [&] { Exec("DELETE FROM " + QuoteName(schema.name)); }, true);
}

}  // namespace engine::storage::postgres
