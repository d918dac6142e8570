// Binds an expression of the dialect to the tables of a statement (or of a
// filter): every name becomes a column of a stored table, every parameter its
// assigned value, and each constant is converted to the type of the column it
// is compared with.
//
// Name rules: names match without regard to case; a qualified name looks for
// the alias or table name; an unqualified one belongs to the first table in
// FROM order that has that column. An empty text constant is NULL. A DATE
// compared with a date-and-time counts as the date-and-time of its midnight.
// Failures are EngineError 11949 saying what and where.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sql/ast.h"
#include "engine/storage/plan.h"

namespace engine::translate {

struct ScopeEntry {
    std::string alias;  // as written, or the table name when there is no alias
    const storage::TableSchema* table = nullptr;
};
using Scope = std::vector<ScopeEntry>;

// The value of a parameter by name; throws when it is missing or unassigned.
using ParamValues = std::function<Value(const std::string& name)>;

class ExprBinder {
public:
    ExprBinder(const Scope& scope, ParamValues params, std::string_view text)
        : scope_(scope), params_(std::move(params)), text_(text) {}

    plan::ExprPtr Bind(const sql::Expr& expr);
    // The column a name means, as a ColumnRef expression.
    plan::ExprPtr BindColumn(const sql::ColumnRef& column, size_t offset);
    static ColumnType TypeOf(const plan::Expr& expr);

    [[noreturn]] void Fail(size_t offset, const std::string& what) const;

private:
    plan::ExprPtr BindComparison(const sql::Comparison& c, size_t offset);
    plan::ExprPtr BindLiteral(Value value) const;
    void Coerce(plan::ExprPtr& column, plan::ExprPtr& other, size_t offset);
    std::optional<int> SourceOf(const sql::Name& qualifier) const;

    const Scope& scope_;
    ParamValues params_;
    std::string_view text_;
};

}  // namespace engine::translate
