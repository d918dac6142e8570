#include "engine/storage/sql_text/row_sql.h"

#include "engine/storage/sql_text/sql_writer.h"

namespace engine::storage::sqltext {
namespace {

bool HasNull(const std::vector<Value>& values) {
    for (const auto& v : values)
        if (v.IsNull()) return true;
    return false;
}

// Rows strictly after `from` in the order (keys..., row id), ascending.
// Without NULLs in the position a row-value comparison lets the backend
// seek the index.
std::string AfterByRowValue(SqlWriter& w, const std::vector<std::string>& keys,
                            const KeyPosition& from) {
    std::string left = "(", right = "(";
    for (size_t i = 0; i < keys.size(); ++i) {
        left += keys[i] + ", ";
        right += w.BindAny(from.keys[i]) + ", ";
    }
    return left + w.dialect().RowId() + ") > " + right + w.BindAny(Value(from.id)) + ")";
}

// Term i of the written-out comparison: the keys before i equal, key i
// beyond; the last term: all keys equal and the row id beyond.
std::string AfterTerm(SqlWriter& w, const std::vector<std::string>& keys, const KeyPosition& from,
                      bool backwards, size_t i) {
    std::string term;
    for (size_t j = 0; j < i; ++j)
        term +=
            keys[j] + w.dialect().Same(!from.keys[j].IsNull()) + w.BindAny(from.keys[j]) + " AND ";
    if (i == keys.size())
        return term + w.dialect().RowId() + (backwards ? " < " : " > ") + w.BindAny(Value(from.id));
    const Value& v = from.keys[i];
    if (!backwards)
        return term + (v.IsNull() ? keys[i] + " IS NOT NULL" : keys[i] + " > " + w.BindAny(v));
    if (v.IsNull()) return term + "1 = 0";
    return term + "(" + keys[i] + " < " + w.BindAny(v) + " OR " + keys[i] + " IS NULL)";
}

std::string AfterCondition(SqlWriter& w, const std::vector<std::string>& keys,
                           const KeyPosition& from, bool backwards) {
    if (!backwards && !HasNull(from.keys)) return AfterByRowValue(w, keys, from);
    std::string any = "(";
    for (size_t i = 0; i <= keys.size(); ++i)
        any += (i ? " OR (" : "(") + AfterTerm(w, keys, from, backwards, i) + ")";
    return any + ")";
}

// The condition that a row still holds what was read of it: a write through
// it changes nothing when another writer got there first.
std::string StillAsRead(SqlWriter& w, const TableSchema& table,
                        const std::vector<Value>& original) {
    std::string same;
    for (size_t i = 0; i < table.columns.size(); ++i)
        same += " AND " + QuoteName(table.columns[i].name) +
                w.dialect().Same(!original[i].IsNull()) + w.BindAny(original[i]);
    return same;
}

std::vector<std::string> ScanConditions(SqlWriter& w, const ScanRequest& request,
                                        const std::vector<std::string>& keys) {
    std::vector<std::string> conditions;
    for (size_t i = 0; i < request.equalKeys.size(); ++i) {
        const Value& key = request.equalKeys[i];
        conditions.push_back(keys[i] + w.dialect().Same(!key.IsNull()) + w.BindAny(key));
    }
    if (request.after)
        conditions.push_back(AfterCondition(w, keys, *request.after, request.backwards));
    if (request.filter) conditions.push_back(w.Write(*request.filter));
    return conditions;
}

}  // namespace

std::string ColumnList(const SqlDialect& dialect, const TableSchema& table) {
    std::string list = dialect.RowId();
    for (const auto& column : table.columns) list += ", " + QuoteName(column.name);
    return list;
}

SqlText ScanSql(const SqlDialect& dialect, const ScanRequest& request) {
    const TableSchema& table = *request.table;
    std::vector<std::string> keys;
    for (int column : request.orderColumns) keys.push_back(QuoteName(table.columns[column].name));
    SqlWriter w(dialect, {&table}, false);
    auto conditions = ScanConditions(w, request, keys);
    std::string sql = "SELECT " + ColumnList(dialect, table) + " FROM " + QuoteName(table.name);
    for (size_t i = 0; i < conditions.size(); ++i) sql += (i ? " AND " : " WHERE ") + conditions[i];
    sql += " ORDER BY ";
    for (const auto& key : keys) sql += dialect.OrderItem(key, request.backwards) + ", ";
    sql += dialect.OrderItem(dialect.RowId(), request.backwards);
    sql += " LIMIT " + std::to_string(request.limit);
    return {sql, std::move(w.bindings())};
}

SqlText CountSql(const SqlDialect& dialect, const TableSchema& table, const plan::Expr* filter) {
    SqlWriter w(dialect, {&table}, false);
    std::string sql = "SELECT count(*) FROM " + QuoteName(table.name);
    if (filter) sql += " WHERE " + w.Write(*filter);
    return {sql, std::move(w.bindings())};
}

SqlText ReadRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id) {
    SqlWriter w(dialect, {&table}, false);
    std::string sql = "SELECT " + ColumnList(dialect, table) + " FROM " + QuoteName(table.name) +
                      " WHERE " + dialect.RowId() + " = " + w.BindAny(Value(id));
    return {sql, std::move(w.bindings())};
}

SqlText InsertSql(const SqlDialect& dialect, const TableSchema& table,
                  const std::vector<Value>& values) {
    SqlWriter w(dialect, {&table}, false);
    std::string names, marks;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        names += (i ? ", " : "") + QuoteName(table.columns[i].name);
        marks += (i ? ", " : "") + w.BindAny(values[i]);
    }
    std::string sql =
        "INSERT INTO " + QuoteName(table.name) + " (" + names + ") VALUES (" + marks + ")";
    return {sql, std::move(w.bindings())};
}

SqlText UpdateRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id,
                     const std::vector<Value>& original, const std::vector<Value>& values) {
    SqlWriter w(dialect, {&table}, false);
    std::string sets;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (values[i] == original[i]) continue;
        sets += (sets.empty() ? "" : ", ") + QuoteName(table.columns[i].name) + " = " +
                w.BindAny(values[i]);
    }
    if (sets.empty()) return {};
    std::string sql = "UPDATE " + QuoteName(table.name) + " SET " + sets + " WHERE " +
                      dialect.RowId() + " = " + w.BindAny(Value(id));
    sql += StillAsRead(w, table, original);
    return {sql, std::move(w.bindings())};
}

SqlText DeleteRowSql(const SqlDialect& dialect, const TableSchema& table, RowId id,
                     const std::vector<Value>& original) {
    SqlWriter w(dialect, {&table}, false);
    std::string sql = "DELETE FROM " + QuoteName(table.name) + " WHERE " + dialect.RowId() + " = " +
                      w.BindAny(Value(id));
    sql += StillAsRead(w, table, original);
    return {sql, std::move(w.bindings())};
}

}  // namespace engine::storage::sqltext
