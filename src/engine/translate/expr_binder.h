// Binds an expression of the dialect to the tables of a statement (or of a
// filter): every name becomes a column of a stored table, every parameter its
// assigned value, and each constant is converted to the type of the column it
// is compared with.
//
// Name rules: names match without regard to case; a qualified name looks for
// the alias or table name; an unqualified one belongs to the first table in
// FROM order that has that column. An empty text constant is NULL. A DATE
// compared with a date-and-time counts as the date-and-time of its midnight.
// A number compared with a number column stays as written (1.5 never turns
// into 2); a text compared with a number, Boolean or date column is converted
// to that type. Failures are EngineError 11949 saying what and where; a
// parameter without a value is one of them.
#pragma once

#include <functional>
#include <optional>
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

// The value of a parameter by name; nothing when it has none (the binder then
// fails with the parameter's place), or it may throw an error of its own.
using ParamValues = std::function<std::optional<Value>(const std::string& name)>;

// The FROM entry a qualifier names: its alias first, else its table name.
std::optional<int> FindSource(const Scope& scope, std::string_view qualifier);

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
    plan::ExprPtr DatesCompared(plan::CompareOp op, plan::ExprPtr& left, plan::ExprPtr& right);
    plan::ExprPtr BindLiteral(Value value) const;
    plan::ExprPtr BindParameter(const sql::Parameter& parameter, size_t offset) const;
    plan::ExprPtr BindLogical(const sql::Logical& logical);
    plan::ExprPtr BindLike(const sql::Like& like);
    void Coerce(plan::ExprPtr& column, plan::ExprPtr& other, size_t offset);

    const Scope& scope_;
    ParamValues params_;
    std::string_view text_;
};

}  // namespace engine::translate
