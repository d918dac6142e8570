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

// The use and the read travel together; the read, sent whether or not the
// use is granted, runs once the server has taken it, and is dropped when
// the use is refused.
std::optional<std::vector<Row>> PgConnection::TryUseTableAndScan(TableUse use,
                                                                 const ScanRequest& first) {
    const std::string& table = first.table->name;
    bool exclusive = use == TableUse::Exclusive, again = false;
    if (!MayUse(table, exclusive, again)) return std::nullopt;
    if (again) return Connection::TryUseTableAndScan(use, first);
    auto text = sqltext::ScanSql(Dialect(), first);
    auto answers = NamingTable(table, [&] {
        return link_.ExecTogether(
            {TryAdvisoryStatement("use", table, 0, !exclusive), {text.sql, text.bindings}});
    });
    if (!answers[0].Ok()) NamingTable(table, [&] { link_.Throw(answers[0]); });
    if (answers[0].Text(0, 0) != "t") return std::nullopt;
    NoteUse(table, exclusive);
    if (!answers[1].Ok()) {
        EndUseTable(table, use);
        NamingTable(table, [&] { link_.Throw(answers[1]); });
    }
    return RowsOf(answers[1], first.table->columns);
}

// As above: the read runs once the server holds the lock, so that it sees
// the row as the last holder left it.
LockedRow PgConnection::TryLockAndReadRow(const TableSchema& table, RowId id) {
    auto text = sqltext::ReadRowSql(Dialect(), table, id);
    auto answers = NamingTable(table.name, [&] {
        return link_.ExecTogether(
            {TryAdvisoryStatement("row", table.name, id, false), {text.sql, text.bindings}});
    });
    if (!answers[0].Ok()) NamingTable(table.name, [&] { link_.Throw(answers[0]); });
    if (answers[0].Text(0, 0) != "t") return {};
    if (!answers[1].Ok()) {
        UnlockRow(table.name, id);
        NamingTable(table.name, [&] { link_.Throw(answers[1]); });
    }
    auto rows = RowsOf(answers[1], table.columns);
    if (rows.empty()) return {true, std::nullopt};
    return {true, rows.front()};
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
