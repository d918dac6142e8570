#include "engine/translate/expr_binder.h"

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/common/overload.h"
#include "engine/common/value_convert.h"
#include "engine/sql/source_position.h"
#include "engine/translate/date_compare.h"
#include "platform/cp932.h"

namespace engine::translate {
namespace {

plan::CompareOp ToPlan(sql::CompareOp op) {
    switch (op) {
        case sql::CompareOp::kEq:
            return plan::CompareOp::Eq;
        case sql::CompareOp::kNe:
            return plan::CompareOp::Ne;
        case sql::CompareOp::kLt:
            return plan::CompareOp::Lt;
        case sql::CompareOp::kLe:
            return plan::CompareOp::Le;
        case sql::CompareOp::kGt:
            return plan::CompareOp::Gt;
        case sql::CompareOp::kGe:
            return plan::CompareOp::Ge;
    }
    return plan::CompareOp::Eq;
}

ColumnType TypeOfValue(const Value& v) {
    if (v.IsInteger()) return {FieldType::Integer, 0};
    if (v.IsFloat()) return {FieldType::Float, 0};
    if (v.IsBool()) return {FieldType::Boolean, 0};
    if (v.IsDate()) return {FieldType::Date, 0};
    if (v.IsDateTime()) return {FieldType::DateTime, 0};
    return {FieldType::Memo, 0};
}

}  // namespace

void ExprBinder::Fail(size_t offset, const std::string& what) const {
    sql::ThrowSqlError(text_, offset, what);
}

ColumnType ExprBinder::TypeOf(const plan::Expr& expr) {
    if (auto* c = std::get_if<plan::ColumnRef>(&expr.node)) return c->type;
    if (auto* l = std::get_if<plan::Literal>(&expr.node)) return TypeOfValue(l->value);
    if (std::holds_alternative<plan::DateAsDateTime>(expr.node)) return {FieldType::DateTime, 0};
    return {FieldType::Boolean, 0};
}

plan::ExprPtr ExprBinder::BindLiteral(Value value) const {
    // An empty text constant is NULL.
    if (value.IsText() && value.Text().empty()) value = Value();
    return plan::Make(plan::Literal{std::move(value)});
}

std::optional<int> FindSource(const Scope& scope, std::string_view qualifier) {
    for (size_t i = 0; i < scope.size(); ++i)
        if (SameName(scope[i].alias, qualifier)) return static_cast<int>(i);
    for (size_t i = 0; i < scope.size(); ++i)
        if (SameName(scope[i].table->name, qualifier)) return static_cast<int>(i);
    return std::nullopt;
}

plan::ExprPtr ExprBinder::BindParameter(const sql::Parameter& parameter, size_t offset) const {
    std::optional<Value> value = params_ ? params_(parameter.name) : std::nullopt;
    if (!value) Fail(offset, "no value for the parameter '" + parameter.name + "'");
    return BindLiteral(std::move(*value));
}

plan::ExprPtr ExprBinder::BindColumn(const sql::ColumnRef& column, size_t offset) {
    if (column.qualifier) {
        auto source = FindSource(scope_, column.qualifier->text);
        if (!source)
            Fail(column.qualifier->offset, "unknown table '" + column.qualifier->text + "'");
        auto position = scope_[*source].table->FindColumn(column.column.text);
        if (!position) Fail(column.column.offset, "unknown column '" + column.column.text + "'");
        return plan::Make(
            plan::ColumnRef{*source, *position, scope_[*source].table->columns[*position].type});
    }
    // An unqualified name belongs to the first table of FROM that has it.
    for (size_t i = 0; i < scope_.size(); ++i)
        if (auto position = scope_[i].table->FindColumn(column.column.text))
            return plan::Make(plan::ColumnRef{static_cast<int>(i), *position,
                                              scope_[i].table->columns[*position].type});
    Fail(offset, "unknown column '" + column.column.text + "'");
}

void ExprBinder::Coerce(plan::ExprPtr& column, plan::ExprPtr& other, size_t offset) {
    ColumnType columnType = TypeOf(*column);
    if (auto* literal = std::get_if<plan::Literal>(&other->node)) {
        if (literal->value.IsNull()) return;
        // A DATE against a date-and-time compares as the midnight of its day.
        if (columnType.type == FieldType::Date && literal->value.IsDateTime()) {
            column = plan::Make(plan::DateAsDateTime{std::move(column)});
            return;
        }
        // A number against a number column keeps its value: 1.5 must not match 2.
        bool numeric = literal->value.IsInteger() || literal->value.IsFloat();
        if (numeric && IsNumericType(columnType.type)) return;
        ColumnType target =
            IsTextType(columnType.type) ? ColumnType{FieldType::Memo, 0} : columnType;
        try {
            // A text compares in its stored form: trailing blanks dropped, empty as NULL.
            literal->value = IsTextType(target.type) ? StoredText(ValueText(literal->value), 0)
                                                     : ToColumnValue(literal->value, target, "");
        } catch (const std::exception&) {
            Fail(offset, "the value '" + ValueText(literal->value) +
                             "' does not match the type of the column");
        }
        return;
    }
    ColumnType otherType = TypeOf(*other);
    if (columnType.type == FieldType::Date && otherType.type == FieldType::DateTime)
        column = plan::Make(plan::DateAsDateTime{std::move(column)});
    else if (otherType.type == FieldType::Date && columnType.type == FieldType::DateTime)
        other = plan::Make(plan::DateAsDateTime{std::move(other)});
}

// A DATE column against a date-and-time constant, as a comparison of dates
// that the column's index can serve; nothing for every other comparison.
plan::ExprPtr ExprBinder::DatesCompared(plan::CompareOp op, plan::ExprPtr& left,
                                        plan::ExprPtr& right) {
    auto isDateColumn = [](const plan::ExprPtr& e) {
        auto* column = std::get_if<plan::ColumnRef>(&e->node);
        return column && column->type.type == FieldType::Date;
    };
    auto moment = [](const plan::ExprPtr& e) -> const plan::Literal* {
        auto* literal = std::get_if<plan::Literal>(&e->node);
        return literal && literal->value.IsDateTime() ? literal : nullptr;
    };
    if (isDateColumn(left) && moment(right))
        return CompareDateWithMoment(op, left, moment(right)->value.DateTimeValue());
    if (isDateColumn(right) && moment(left))
        return CompareDateWithMoment(Mirrored(op), right, moment(left)->value.DateTimeValue());
    return nullptr;
}

plan::ExprPtr ExprBinder::BindComparison(const sql::Comparison& c, size_t offset) {
    auto left = Bind(*c.left);
    auto right = Bind(*c.right);
    if (auto dates = DatesCompared(ToPlan(c.op), left, right)) return dates;
    if (std::holds_alternative<plan::ColumnRef>(left->node))
        Coerce(left, right, offset);
    else if (std::holds_alternative<plan::ColumnRef>(right->node))
        Coerce(right, left, offset);
    return plan::Make(plan::Compare{ToPlan(c.op), std::move(left), std::move(right)});
}

plan::ExprPtr ExprBinder::BindLogical(const sql::Logical& logical) {
    // The terms of a long AND/OR chain are one flat list: no recursion per term.
    plan::Logical out{logical.op == sql::LogicalOp::kAnd, {}};
    out.terms.reserve(logical.terms.size());
    for (const auto& term : logical.terms) {
        auto bound = Bind(*term);
        // "(a and b) and c" is "a and b and c": a flat chain nests nothing in the backend.
        auto* inner = std::get_if<plan::Logical>(&bound->node);
        if (inner && inner->isAnd == out.isAnd) {
            for (auto& innerTerm : inner->terms) out.terms.push_back(std::move(innerTerm));
        } else {
            out.terms.push_back(std::move(bound));
        }
    }
    return plan::Make(std::move(out));
}

plan::ExprPtr ExprBinder::BindLike(const sql::Like& like) {
    auto pattern = Bind(*like.pattern);
    if (auto* literal = std::get_if<plan::Literal>(&pattern->node);
        literal && !literal->value.IsNull())
        // The pattern in the form stored texts have, so that "〜" finds a stored "～".
        literal->value = Value(platform::NormaliseToCp932(ValueText(literal->value)));
    return plan::Make(plan::Like{Bind(*like.operand), std::move(pattern), like.negated});
}

plan::ExprPtr ExprBinder::Bind(const sql::Expr& expr) {
    return std::visit(
        Overload{
            [&](const sql::ColumnRef& c) { return BindColumn(c, expr.offset); },
            [&](const sql::Constant& c) { return BindLiteral(c.value); },
            [&](const sql::Parameter& p) { return BindParameter(p, expr.offset); },
            [&](const sql::Comparison& c) { return BindComparison(c, expr.offset); },
            [&](const sql::Logical& l) { return BindLogical(l); },
            [&](const sql::Not& n) { return plan::Make(plan::Not{Bind(*n.operand)}); },
            [&](const sql::IsNull& n) {
                return plan::Make(plan::IsNull{Bind(*n.operand), n.negated});
            },
            [&](const sql::Like& l) { return BindLike(l); },
        },
        expr.node);
}

}  // namespace engine::translate
