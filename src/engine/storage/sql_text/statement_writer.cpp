// The SELECT, UPDATE and DELETE statements of resolved plans.
#include "engine/storage/sql_text/sql_writer.h"

namespace engine::storage::sqltext {
namespace {

std::string Alias(size_t i) {
    return "\"t" + std::to_string(i) + "\"";
}

std::string JoinWord(plan::JoinKind kind) {
    switch (kind) {
        case plan::JoinKind::Left:
            return " LEFT JOIN ";
        case plan::JoinKind::Inner:
            return " JOIN ";
        default:
            return ", ";
    }
}

std::vector<const TableSchema*> Sources(const plan::Select& select) {
    std::vector<const TableSchema*> out;
    for (const auto& source : select.from) out.push_back(&source.table);
    return out;
}

std::string FromClause(const plan::Select& select, SqlWriter& writer) {
    std::string sql = " FROM ";
    for (size_t i = 0; i < select.from.size(); ++i) {
        const auto& source = select.from[i];
        if (i) sql += JoinWord(source.join);
        sql += QuoteName(source.table.name) + " " + Alias(i);
        if (source.on) sql += " ON " + writer.Write(*source.on);
    }
    return sql;
}

}  // namespace

std::string WriteSelect(const SqlDialect& dialect, const plan::Select& select,
                        std::vector<Value>& bindings) {
    SqlWriter writer(dialect, Sources(select), true);
    std::string sql = "SELECT ";
    sql += select.withRowId ? "\"t0\"." + dialect.RowId() : "0";
    for (const auto& column : select.columns) sql += ", " + writer.Write(*column.value);
    sql += FromClause(select, writer);
    if (select.where) sql += " WHERE " + writer.Write(*select.where);
    for (size_t i = 0; i < select.orderBy.size(); ++i) {
        sql += i ? ", " : " ORDER BY ";
        sql +=
            dialect.OrderItem(writer.Write(*select.orderBy[i].value), select.orderBy[i].descending);
    }
    bindings = std::move(writer.bindings());
    return sql;
}

std::string WriteUpdate(const SqlDialect& dialect, const plan::Update& update,
                        std::vector<Value>& bindings) {
    SqlWriter writer(dialect, {&update.table}, false);
    std::string sql = "UPDATE " + QuoteName(update.table.name) + " SET ";
    for (size_t i = 0; i < update.sets.size(); ++i) {
        const auto& [column, value] = update.sets[i];
        sql += (i ? ", " : "") + writer.Column(0, column) + " = " + writer.Write(*value);
    }
    if (update.where) sql += " WHERE " + writer.Write(*update.where);
    bindings = std::move(writer.bindings());
    return sql;
}

std::string WriteDelete(const SqlDialect& dialect, const plan::Delete& del,
                        std::vector<Value>& bindings) {
    SqlWriter writer(dialect, {&del.table}, false);
    std::string sql = "DELETE FROM " + QuoteName(del.table.name);
    if (del.where) sql += " WHERE " + writer.Write(*del.where);
    bindings = std::move(writer.bindings());
    return sql;
}

}  // namespace engine::storage::sqltext
