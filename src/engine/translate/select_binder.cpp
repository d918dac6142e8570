#include "engine/translate/select_binder.h"

#include "engine/common/error.h"
#include "engine/common/names.h"

namespace engine::translate {
namespace {

plan::JoinKind ToPlan(sql::JoinKind kind) {
    switch (kind) {
        case sql::JoinKind::kFirst:
            return plan::JoinKind::First;
        case sql::JoinKind::kComma:
            return plan::JoinKind::Cross;
        case sql::JoinKind::kInner:
            return plan::JoinKind::Inner;
        case sql::JoinKind::kLeft:
            return plan::JoinKind::Left;
    }
    return plan::JoinKind::Cross;
}

class SelectBinder {
  public:
    SelectBinder(storage::Connection& connection, const ParamValues& params, std::string_view text)
        : connection_(connection), params_(params), text_(text) {}

    plan::Select Bind(const sql::SelectStmt& stmt);

  private:
    void BindFrom(const std::vector<sql::TableRef>& from);
    void BindItem(const sql::SelectItem& item);
    void AddAllColumns(int source);
    void AddExpression(const sql::SelectItem& item);
    plan::ExprPtr BindOrderKey(const sql::Expr& expr);
    std::optional<size_t> ResultPosition(const sql::Expr& expr) const;
    bool AnyTableHas(std::string_view column) const;
    ExprBinder Binder() const { return ExprBinder(scope_, params_, text_); }

    storage::Connection& connection_;
    const ParamValues& params_;
    std::string_view text_;
    plan::Select select_;
    Scope scope_;
    // For each result column, the expression of the list it came from (none for "*").
    std::vector<const sql::Expr*> itemExprs_;
};

plan::Select SelectBinder::Bind(const sql::SelectStmt& stmt) {
    BindFrom(stmt.from);
    for (const auto& item : stmt.items) BindItem(item);
    if (stmt.where) select_.where = Binder().Bind(*stmt.where);
    for (const auto& order : stmt.orderBy)
        select_.orderBy.push_back(plan::OrderKey{BindOrderKey(*order.expr), order.descending});
    return std::move(select_);
}

void SelectBinder::BindFrom(const std::vector<sql::TableRef>& from) {
    // Every table is described first: the scope points into select_.from.
    for (const auto& ref : from)
        select_.from.push_back(
            plan::Source{LookupTable(connection_, ref.table), ToPlan(ref.join), nullptr});
    for (size_t i = 0; i < from.size(); ++i)
        scope_.push_back(
            {from[i].alias ? from[i].alias->text : from[i].table.text, &select_.from[i].table});
    for (size_t i = 0; i < from.size(); ++i) {
        if (!from[i].on) continue;
        // An ON condition sees the tables up to its own.
        Scope visible(scope_.begin(), scope_.begin() + static_cast<long>(i) + 1);
        select_.from[i].on = ExprBinder(visible, params_, text_).Bind(*from[i].on);
    }
}

void SelectBinder::BindItem(const sql::SelectItem& item) {
    switch (item.kind) {
        case sql::SelectItem::Kind::kAllColumns:
            for (size_t i = 0; i < scope_.size(); ++i) AddAllColumns(static_cast<int>(i));
            return;
        case sql::SelectItem::Kind::kAllOfTable: {
            auto source = FindSource(scope_, item.table->text);
            if (!source)
                Binder().Fail(item.table->offset, "unknown table '" + item.table->text + "'");
            AddAllColumns(*source);
            return;
        }
        case sql::SelectItem::Kind::kExpr:
            AddExpression(item);
            return;
    }
}

void SelectBinder::AddAllColumns(int source) {
    const auto& columns = scope_[source].table->columns;
    for (size_t i = 0; i < columns.size(); ++i) {
        auto ref = plan::Make(plan::ColumnRef{source, static_cast<int>(i), columns[i].type});
        select_.columns.push_back(
            plan::OutputColumn{columns[i].name, std::move(ref), columns[i].type});
        itemExprs_.push_back(nullptr);
    }
}

void SelectBinder::AddExpression(const sql::SelectItem& item) {
    auto value = Binder().Bind(*item.expr);
    ColumnType type = ExprBinder::TypeOf(*value);
    std::string name = "EXPR" + std::to_string(select_.columns.size() + 1);
    if (auto* column = std::get_if<plan::ColumnRef>(&value->node))
        name = scope_[column->source].table->columns[column->column].name;
    if (item.alias) name = item.alias->text;
    select_.columns.push_back(plan::OutputColumn{std::move(name), std::move(value), type});
    itemExprs_.push_back(item.expr.get());
}

bool SelectBinder::AnyTableHas(std::string_view column) const {
    for (const auto& entry : scope_)
        if (entry.table->FindColumn(column)) return true;
    return false;
}

// The result column an ORDER BY key names by its position or, when no table
// has the name, by its alias; nothing for a key over the tables.
std::optional<size_t> SelectBinder::ResultPosition(const sql::Expr& expr) const {
    if (auto* constant = expr.As<sql::Constant>(); constant && constant->value.IsInteger()) {
        int64_t n = constant->value.Integer();
        if (n < 1 || n > static_cast<int64_t>(select_.columns.size()))
            Binder().Fail(expr.offset, "ORDER BY " + std::to_string(n) + " names no result column");
        return static_cast<size_t>(n - 1);
    }
    auto* column = expr.As<sql::ColumnRef>();
    if (!column || column->qualifier || AnyTableHas(column->column.text)) return std::nullopt;
    for (size_t i = 0; i < select_.columns.size(); ++i)
        if (SameName(select_.columns[i].name, column->column.text)) return i;
    return std::nullopt;
}

plan::ExprPtr SelectBinder::BindOrderKey(const sql::Expr& expr) {
    auto position = ResultPosition(expr);
    if (!position) return Binder().Bind(expr);
    if (const sql::Expr* item = itemExprs_[*position]) return Binder().Bind(*item);
    // A column that "*" gave.
    return plan::Make(std::get<plan::ColumnRef>(select_.columns[*position].value->node));
}

}  // namespace

storage::TableSchema LookupTable(storage::Connection& connection, const sql::Name& name) {
    auto schema = connection.DescribeTable(name.text);
    if (!schema) throw EngineError::Make(err::kTableMissing, name.text);
    return std::move(*schema);
}

plan::Select BindSelect(const sql::SelectStmt& select, storage::Connection& connection,
                        const ParamValues& params, std::string_view text) {
    return SelectBinder(connection, params, text).Bind(select);
}

}  // namespace engine::translate
