// The syntax tree of the engine's SQL dialect.
//
// The parser (parser.h) builds these plain structs; the binder walks them.
// Every node owns its children (std::unique_ptr, std::vector) and keeps the
// byte offset in the source text where it begins, so that later stages can
// report "line L, column C" through source_position.h. Offsets count from the
// start of the text given to the parser (for a script: of the whole script).
//
// Names (tables, columns, aliases, qualifiers, parameters) are kept exactly as
// written, without their double quotes; matching them without regard to case
// is the binder's job. Nothing here is resolved, typed or checked against a
// schema: "Book_ID" is just a column reference until the binder finds it.
//
// Expressions are an Expr holding one of the node structs below in a variant;
// walk them with std::visit or Expr::As<T>(). Grouping by parentheses is
// expressed by the shape of the tree alone (there is no parenthesis node).
// AND and OR are n-ary: "a and b and c" is one And node with three terms, so
// long chains need no recursion. A parenthesised AND inside an AND stays a
// nested node.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/common/field_type.h"
#include "engine/common/value.h"

namespace engine::sql {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

// An identifier as written: plain (Book_ID) or double-quoted ("Head$$").
struct Name {
    std::string text;     // without the quotes; "" inside quotes become one "
    size_t offset = 0;    // of the first character (the opening quote if any)
    bool quoted = false;  // written in double quotes
};

// ---- Expressions ----

// A column: Book_ID, kashibo.Book_ID, "yoyaku".Book_ID. An empty qualifier
// means unqualified; the binder resolves it in FROM order.
struct ColumnRef {
    std::optional<Name> qualifier;
    Name column;
};

// A constant. value holds text for '1' and "1" alike (a double-quoted text in
// an expression is a string constant unless followed by "."), int64_t for an
// integer, double for a number with a point or exponent, bool for True/False,
// and NULL for the keyword NULL. An empty text is kept as the empty text; the
// rule that it means NULL belongs to evaluation.
struct Constant {
    Value value;
};

// A parameter ":PM1"; name is "PM1", as written.
struct Parameter {
    std::string name;
};

enum class CompareOp { kEq, kNe, kLt, kLe, kGt, kGe };

// left op right. Comparisons do not chain: "a = b = c" is a syntax error.
struct Comparison {
    CompareOp op = CompareOp::kEq;
    ExprPtr left;
    ExprPtr right;
};

enum class LogicalOp { kAnd, kOr };

// AND or OR over two or more terms, in source order.
struct Logical {
    LogicalOp op = LogicalOp::kAnd;
    std::vector<ExprPtr> terms;
};

struct Not {
    ExprPtr operand;
};

// operand IS NULL, or operand IS NOT NULL when negated.
struct IsNull {
    ExprPtr operand;
    bool negated = false;
};

// operand LIKE pattern, or NOT LIKE when negated. "%" in the pattern is the
// wildcard of evaluation, not of the parser.
struct Like {
    ExprPtr operand;
    ExprPtr pattern;
    bool negated = false;
};

struct Expr {
    using Node =
        std::variant<ColumnRef, Constant, Parameter, Comparison, Logical, Not, IsNull, Like>;

    Node node;
    size_t offset = 0;  // where the expression begins in the source

    template <class T>
    const T* As() const {
        return std::get_if<T>(&node);
    }
    template <class T>
    T* As() {
        return std::get_if<T>(&node);
    }
};

// Builds an expression node at an offset: MakeExpr(Parameter{"PM"}, 12).
template <class T>
ExprPtr MakeExpr(T node, size_t offset) {
    return std::make_unique<Expr>(Expr{Expr::Node(std::move(node)), offset});
}

// ---- SELECT ----

// One item of the select list: "*", "t.*" or an expression with an alias.
struct SelectItem {
    enum class Kind { kAllColumns, kAllOfTable, kExpr };
    Kind kind = Kind::kExpr;
    std::optional<Name> table;  // kAllOfTable: the qualifier before ".*"
    ExprPtr expr;               // kExpr
    std::optional<Name> alias;  // kExpr: "x AS y" or "x y"
    size_t offset = 0;
};

// How a FROM entry attaches to everything before it. The first entry is
// kFirst; "a, b" makes b kComma (a cross join, usually narrowed by WHERE);
// [INNER] JOIN and LEFT [OUTER] JOIN carry an ON condition. The FROM list is
// left-deep: each join combines all entries to its left with its table.
enum class JoinKind { kFirst, kComma, kInner, kLeft };

struct TableRef {
    JoinKind join = JoinKind::kFirst;
    Name table;
    std::optional<Name> alias;  // "kashibo k" or "kashibo AS k"
    ExprPtr on;                 // kInner and kLeft only
    size_t offset = 0;          // of the table name; for later entries of the "," or JOIN words
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct SelectStmt {
    std::vector<SelectItem> items;
    std::vector<TableRef> from;  // never empty
    ExprPtr where;               // null when absent
    std::vector<OrderItem> orderBy;
};

// ---- Row changes ----

struct Assignment {
    Name column;
    ExprPtr value;
};

struct UpdateStmt {
    Name table;
    std::vector<Assignment> set;  // never empty
    ExprPtr where;                // null when absent
};

struct DeleteStmt {
    Name table;
    ExprPtr where;  // null when absent
};

struct InsertStmt {
    Name table;
    std::vector<Name> columns;               // empty: all columns in table order
    std::vector<std::vector<ExprPtr>> rows;  // one list per VALUES (...)
};

// ---- Data definition ----

struct ColumnDef {
    Name name;
    ColumnType type;  // CHARACTER(n), CHAR(n), VARCHAR(n) are all String of n
    size_t offset = 0;
};

enum class Compression { kDefault, kFull, kNone };  // kDefault: no COMPRESS clause

struct PrimaryKey {
    std::vector<Name> columns;
    Compression compress = Compression::kDefault;
    size_t offset = 0;
};

// The table options written after the columns; absent ones stay empty.
struct TableOptions {
    std::optional<std::string> language;      // LANGUAGE "ANSI Standard"
    std::optional<std::string> sort;          // SORT "Default Order"
    std::optional<int64_t> userMajorVersion;  // USER MAJOR VERSION 1
};

struct CreateTableStmt {
    Name table;
    bool ifNotExists = false;
    std::vector<ColumnDef> columns;  // never empty, in declaration order
    std::optional<PrimaryKey> primaryKey;
    TableOptions options;
};

struct AlterTableStmt {
    Name table;
    std::vector<ColumnDef> addColumns;  // one per ADD item, never empty
};

struct CreateIndexStmt {
    Name index;
    Name table;
    bool unique = false;
    std::vector<Name> columns;
};

struct DropTableStmt {
    Name table;
};

// One statement of a script. offset/end delimit its text in the source
// (without the ";" that ends it and without surrounding blanks).
struct Statement {
    using Node = std::variant<SelectStmt, UpdateStmt, DeleteStmt, InsertStmt, CreateTableStmt,
                              AlterTableStmt, CreateIndexStmt, DropTableStmt>;

    Node node;
    size_t offset = 0;
    size_t end = 0;

    template <class T>
    const T* As() const {
        return std::get_if<T>(&node);
    }
    template <class T>
    T* As() {
        return std::get_if<T>(&node);
    }
    // True for SELECT, the only form that returns rows.
    bool ReturnsRows() const { return std::holds_alternative<SelectStmt>(node); }
};

}  // namespace engine::sql
