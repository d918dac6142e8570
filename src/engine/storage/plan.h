// Resolved statements: what the binder makes of the dialect's syntax tree once
// every name is bound to a column of a stored table and every parameter has a
// value. A backend runs these; it never sees the dialect's text. Values always
// travel as Values (bound, never spliced into a backend's statement text).
//
// The dialect's NULL rules are stated here once, and every backend renders
// them the same way:
//   Eq is true when both sides are NULL, false when exactly one is;
//   Ne the reverse; for Lt/Le/Gt/Ge a NULL text compares as an empty text and
//   for other types a comparison with a NULL side is false.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/schema.h"

namespace engine::plan {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

enum class CompareOp { Eq, Ne, Lt, Le, Gt, Ge };

// A column of the source-th table of FROM (0 for a single-table statement).
struct ColumnRef {
    int source = 0;
    int column = 0;
    ColumnType type;
};

// A constant or a parameter's value; typed by the Value itself.
struct Literal {
    Value value;
};

struct Compare {
    CompareOp op;
    ExprPtr left;
    ExprPtr right;
};

struct Logical {
    bool isAnd = true;
    std::vector<ExprPtr> terms;
};

struct Not {
    ExprPtr operand;
};

struct IsNull {
    ExprPtr operand;
    bool negated = false;
};

// "%" any run of characters, "_" one character; case-sensitive, character by character.
struct Like {
    ExprPtr operand;
    ExprPtr pattern;
    bool negated = false;
};

// A DATE read as the date-and-time of its midnight, so it compares with a
// date-and-time parameter.
struct DateAsDateTime {
    ExprPtr operand;
};

struct Expr {
    std::variant<ColumnRef, Literal, Compare, Logical, Not, IsNull, Like, DateAsDateTime> node;
};

template <class T>
ExprPtr Make(T node) {
    return std::make_unique<Expr>(Expr{std::move(node)});
}

enum class JoinKind { First, Cross, Left, Inner };

struct Source {
    storage::TableSchema table;
    JoinKind join = JoinKind::First;
    ExprPtr on;  // Left and Inner only
};

struct OutputColumn {
    std::string name;
    ExprPtr value;
    ColumnType type;
};

struct OrderKey {
    ExprPtr value;
    bool descending = false;
};

struct Select {
    std::vector<Source> from;
    std::vector<OutputColumn> columns;
    ExprPtr where;  // may be null
    std::vector<OrderKey> orderBy;
    bool withRowId = false;  // a live result: each row also carries its table row id
};

struct Update {
    storage::TableSchema table;
    std::vector<std::pair<int, ExprPtr>> sets;  // column position, new value
    ExprPtr where;
};

struct Delete {
    storage::TableSchema table;
    ExprPtr where;
};

struct Insert {
    storage::TableSchema table;
    std::vector<int> columns;
    std::vector<std::vector<Value>> rows;

    // A whole table row of one given row: its values in their columns,
    // every column the statement does not name NULL.
    std::vector<Value> TableRow(const std::vector<Value>& given) const {
        std::vector<Value> values(table.columns.size());
        for (size_t i = 0; i < columns.size(); ++i) values[columns[i]] = given[i];
        return values;
    }
};

}  // namespace engine::plan
