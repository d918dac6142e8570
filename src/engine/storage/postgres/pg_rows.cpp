// The row side of the server backend: walks in index order, single rows by
// row id, and the writes of the data set layer.
#include "engine/storage/postgres/pg_connection.h"
#include "engine/storage/postgres/pg_dialect.h"
#include "engine/storage/sql_text/row_sql.h"
#include "engine/storage/sql_text/sql_writer.h"

namespace engine::storage::postgres {
namespace {

using sqltext::QuoteName;

// The rows of a result that selected the row id, then the columns.
template <class Columns>
std::vector<Row> RowsOf(const PgResult& result, const Columns& columns) {
    std::vector<Row> rows(result.Rows());
    for (int r = 0; r < result.Rows(); ++r) {
        rows[r].id = result.Integer(r, 0);
        rows[r].values.reserve(columns.size());
        for (size_t c = 0; c < columns.size(); ++c)
            rows[r].values.push_back(result.At(r, static_cast<int>(c + 1), columns[c].type));
    }
    return rows;
}

}  // namespace

std::vector<Row> PgConnection::Scan(const ScanRequest& request) {
    auto text = sqltext::ScanSql(Dialect(), request);
    return NamingTable(request.table->name, [&] {
        return RowsOf(link_.Exec(text.sql, text.bindings), request.table->columns);
    });
}

int64_t PgConnection::Count(const TableSchema& table, const plan::Expr* filter) {
    auto text = sqltext::CountSql(Dialect(), table, filter);
    return NamingTable(table.name,
                       [&] { return link_.Exec(text.sql, text.bindings).Integer(0, 0); });
}

std::optional<Row> PgConnection::ReadRow(const TableSchema& table, RowId id) {
    auto text = sqltext::ReadRowSql(Dialect(), table, id);
    auto rows = NamingTable(
        table.name, [&] { return RowsOf(link_.Exec(text.sql, text.bindings), table.columns); });
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

void PgConnection::AssignAutoIncrements(const TableSchema& table, std::vector<Value>& values) {
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].type.type != FieldType::AutoInc || !values[i].IsNull()) continue;
        // Desks adding rows at once take the next number in turn.
        link_.Exec("SELECT pg_advisory_xact_lock(hashtext(lower($1::text)))",
                   {Value("autoinc:" + table.name)});
        auto result = link_.Exec("SELECT COALESCE(MAX(" + QuoteName(table.columns[i].name) +
                                 "), 0) + 1 FROM " + QuoteName(table.name));
        values[i] = Value(result.Integer(0, 0));
    }
}

void PgConnection::ThrowWriteError(const TableSchema& table, const EngineError& error) {
    if (error.code() != err::kDuplicateKey) throw error;
    const IndexDef* primary = table.PrimaryIndex();
    throw EngineError::Make(err::kDuplicateKey, primary ? primary->name : "", table.name);
}

static bool HasAutoInc(const TableSchema& table) {
    for (const auto& column : table.columns)
        if (column.type.type == FieldType::AutoInc) return true;
    return false;
}

RowId PgConnection::InsertRow(const TableSchema& table, std::vector<Value>& values) {
    RowId id = 0;
    Atomically(
        table.name,
        [&] {
            AssignAutoIncrements(table, values);
            auto text = sqltext::InsertSql(Dialect(), table, values);
            try {
                id = link_.Exec(text.sql + " RETURNING " + kRowIdColumn, text.bindings)
                         .Integer(0, 0);
            } catch (const EngineError& error) {
                ThrowWriteError(table, error);
            }
        },
        !HasAutoInc(table));
    return id;
}

bool PgConnection::UpdateRow(const TableSchema& table, RowId id, const std::vector<Value>& original,
                             const std::vector<Value>& values) {
    auto text = sqltext::UpdateRowSql(Dialect(), table, id, original, values);
    if (text.sql.empty()) return ReadRow(table, id).has_value();
    int64_t changed = 0;
    Atomically(
        table.name,
        [&] {
            try {
                changed = link_.Exec(text.sql, text.bindings).Changed();
            } catch (const EngineError& error) {
                ThrowWriteError(table, error);
            }
        },
        true);
    return changed == 1;
}

bool PgConnection::DeleteRow(const TableSchema& table, RowId id,
                             const std::vector<Value>& original) {
    auto text = sqltext::DeleteRowSql(Dialect(), table, id, original);
    int64_t changed = 0;
    Atomically(
        table.name, [&] { changed = link_.Exec(text.sql, text.bindings).Changed(); }, true);
    return changed == 1;
}

}  // namespace engine::storage::postgres
