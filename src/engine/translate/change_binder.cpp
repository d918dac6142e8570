#include "engine/translate/change_binder.h"

#include "engine/common/error.h"
#include "engine/common/value_convert.h"
#include "engine/translate/select_binder.h"

namespace engine::translate {
namespace {

int ColumnOf(const storage::TableSchema& table, const sql::Name& name, const ExprBinder& binder) {
    auto column = table.FindColumn(name.text);
    if (!column)
        binder.Fail(name.offset,
                    "unknown column '" + name.text + "' in the table '" + table.name + "'");
    return *column;
}

// Fails when `column` is already among `columns`.
void RequireOnce(const std::vector<int>& columns, int column, const sql::Name& name,
                 const ExprBinder& binder) {
    for (int earlier : columns)
        if (earlier == column)
            binder.Fail(name.offset, "the column '" + name.text + "' is given twice");
}

// A constant as the column stores it.
Value StoredValue(const Value& value, const storage::ColumnDef& column, const ExprBinder& binder,
                  size_t offset) {
    try {
        return ToColumnValue(value, column.type, column.name);
    } catch (const DataSetError&) {
        binder.Fail(offset, "the value '" + ValueText(value) + "' does not suit the column '" +
                                column.name + "'");
    }
}

bool IsFractional(FieldType type) {
    return type == FieldType::Float || type == FieldType::Currency;
}

// Whether a column of type `from` may be stored as it is in a column of type
// `to`: the same type (a text no longer than the target), an integer into
// any number, a DATE into a TIMESTAMP (as its midnight).
bool Assignable(const ColumnType& from, const ColumnType& to) {
    if (IsTextType(from.type) && IsTextType(to.type))
        return to.type == FieldType::Memo ||
               (from.type == FieldType::String && from.size <= to.size);
    if (IsIntegerType(from.type) && IsNumericType(to.type)) return true;
    if (from.type == FieldType::Date && to.type == FieldType::DateTime) return true;
    if (IsFractional(from.type) && IsFractional(to.type)) return true;
    return from.type == to.type;
}

// A bound SET value: constants and parameters take the column's storage
// rules; another column or a condition must suit the column as it is.
plan::ExprPtr StoredExpr(plan::ExprPtr value, const storage::ColumnDef& column,
                         const ExprBinder& binder, size_t offset) {
    if (auto* literal = std::get_if<plan::Literal>(&value->node)) {
        literal->value = StoredValue(literal->value, column, binder, offset);
        return value;
    }
    ColumnType from = ExprBinder::TypeOf(*value);
    if (!Assignable(from, column.type))
        binder.Fail(offset, "a " + TypeName(from) + " value cannot be stored in the " +
                                TypeName(column.type) + " column '" + column.name + "'");
    if (from.type == FieldType::Date && column.type.type == FieldType::DateTime)
        return plan::Make(plan::DateAsDateTime{std::move(value)});
    return value;
}

std::vector<int> InsertColumns(const sql::InsertStmt& insert, const storage::TableSchema& table,
                               const ExprBinder& binder) {
    std::vector<int> columns;
    if (insert.columns.empty()) {
        for (size_t i = 0; i < table.columns.size(); ++i) columns.push_back(static_cast<int>(i));
        return columns;
    }
    for (const auto& name : insert.columns) {
        int column = ColumnOf(table, name, binder);
        RequireOnce(columns, column, name, binder);
        columns.push_back(column);
    }
    return columns;
}

std::vector<Value> InsertRow(const std::vector<sql::ExprPtr>& given,
                             const std::vector<int>& columns, const storage::TableSchema& table,
                             ExprBinder& binder) {
    if (given.size() != columns.size())
        binder.Fail(given.front()->offset, std::to_string(given.size()) + " values for " +
                                               std::to_string(columns.size()) + " columns");
    std::vector<Value> row;
    for (size_t i = 0; i < given.size(); ++i) {
        auto value = binder.Bind(*given[i]);
        auto* literal = std::get_if<plan::Literal>(&value->node);
        if (!literal)
            binder.Fail(given[i]->offset, "a value to insert must be a constant or a parameter");
        row.push_back(
            StoredValue(literal->value, table.columns[columns[i]], binder, given[i]->offset));
    }
    return row;
}

}  // namespace

plan::Update BindUpdate(const sql::UpdateStmt& update, storage::Connection& connection,
                        const ParamValues& params, std::string_view text) {
    plan::Update out{LookupTable(connection, update.table), {}, nullptr};
    Scope scope{{out.table.name, &out.table}};
    ExprBinder binder(scope, params, text);
    std::vector<int> columns;
    for (const auto& set : update.set) {
        int column = ColumnOf(out.table, set.column, binder);
        RequireOnce(columns, column, set.column, binder);
        columns.push_back(column);
        auto value = StoredExpr(binder.Bind(*set.value), out.table.columns[column], binder,
                                set.value->offset);
        out.sets.emplace_back(column, std::move(value));
    }
    if (update.where) out.where = binder.Bind(*update.where);
    return out;
}

plan::Delete BindDelete(const sql::DeleteStmt& del, storage::Connection& connection,
                        const ParamValues& params, std::string_view text) {
    plan::Delete out{LookupTable(connection, del.table), nullptr};
    Scope scope{{out.table.name, &out.table}};
    if (del.where) out.where = ExprBinder(scope, params, text).Bind(*del.where);
    return out;
}

plan::Insert BindInsert(const sql::InsertStmt& insert, storage::Connection& connection,
                        const ParamValues& params, std::string_view text) {
    plan::Insert out{LookupTable(connection, insert.table), {}, {}};
    // The values see no table: a column name among them is unknown.
    Scope none;
    ExprBinder binder(none, params, text);
    out.columns = InsertColumns(insert, out.table, binder);
    for (const auto& row : insert.rows)
        out.rows.push_back(InsertRow(row, out.columns, out.table, binder));
    return out;
}

}  // namespace engine::translate
