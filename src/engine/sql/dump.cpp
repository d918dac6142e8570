#include "engine/sql/dump.h"

#include <cctype>
#include <charconv>

#include "engine/sql/keywords.h"

namespace engine::sql {
namespace {

bool IsPlainName(const std::string& text) {
    if (text.empty() || IsReservedWord(text)) return false;
    auto start = [](unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; };
    if (!start(text[0])) return false;
    for (unsigned char c : text) {
        if (!start(c) && !std::isdigit(c) && c != '$') return false;
    }
    return true;
}

std::string QuoteWith(const std::string& text, char quote) {
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote) out += c;
    }
    return out + quote;
}

std::string NameText(const std::string& text) {
    return IsPlainName(text) ? text : QuoteWith(text, '"');
}
std::string NameText(const Name& name) {
    return NameText(name.text);
}

std::string FloatText(double value) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, result.ptr);
    if (text.find_first_not_of("-0123456789") == std::string::npos) text += ".0";
    return text;
}

std::string ValueText(const Value& value) {
    if (value.IsNull()) return "NULL";
    if (value.IsBool()) return value.Bool() ? "TRUE" : "FALSE";
    if (value.IsInteger()) return std::to_string(value.Integer());
    if (value.IsFloat()) return FloatText(value.Float());
    if (value.IsText()) return QuoteWith(value.Text(), '\'');
    return "?";  // the parser makes no date constants
}

const char* CompareText(CompareOp op) {
    switch (op) {
        case CompareOp::kEq:
            return "=";
        case CompareOp::kNe:
            return "<>";
        case CompareOp::kLt:
            return "<";
        case CompareOp::kLe:
            return "<=";
        case CompareOp::kGt:
            return ">";
        case CompareOp::kGe:
            return ">=";
    }
    return "?";
}

struct ExprDumper {
    std::string operator()(const ColumnRef& c) const {
        return c.qualifier ? NameText(*c.qualifier) + "." + NameText(c.column) : NameText(c.column);
    }
    std::string operator()(const Constant& c) const { return ValueText(c.value); }
    std::string operator()(const Parameter& p) const { return ":" + p.name; }
    std::string operator()(const Comparison& c) const {
        return std::string("(") + CompareText(c.op) + " " + Dump(*c.left) + " " + Dump(*c.right) +
               ")";
    }
    std::string operator()(const Logical& l) const {
        std::string out = l.op == LogicalOp::kAnd ? "(AND" : "(OR";
        for (const auto& term : l.terms) out += " " + Dump(*term);
        return out + ")";
    }
    std::string operator()(const Not& n) const { return "(NOT " + Dump(*n.operand) + ")"; }
    std::string operator()(const IsNull& i) const {
        return std::string(i.negated ? "(IS NOT NULL " : "(IS NULL ") + Dump(*i.operand) + ")";
    }
    std::string operator()(const Like& l) const {
        return std::string(l.negated ? "(NOT LIKE " : "(LIKE ") + Dump(*l.operand) + " " +
               Dump(*l.pattern) + ")";
    }
};

// The parts of a range separated by blanks: "a b c".
template <class Range, class Fn>
std::string Join(const Range& range, Fn part) {
    std::string out;
    for (const auto& item : range) out += (out.empty() ? "" : " ") + part(item);
    return out;
}

// "(KEYWORD part part ...)".
template <class Range, class Fn>
std::string List(const char* keyword, const Range& range, Fn part) {
    return std::string("(") + keyword + " " + Join(range, part) + ")";
}

std::string NameList(const std::vector<Name>& names) {
    return "(" + Join(names, [](const Name& n) { return NameText(n); }) + ")";
}

std::string Optional(const char* keyword, const ExprPtr& expr) {
    return expr ? std::string(" (") + keyword + " " + Dump(*expr) + ")" : "";
}

std::string TableText(const TableRef& ref) {
    if (!ref.alias) return NameText(ref.table);
    return "(" + NameText(ref.table) + " AS " + NameText(*ref.alias) + ")";
}

std::string FromText(const TableRef& ref) {
    switch (ref.join) {
        case JoinKind::kFirst:
            return TableText(ref);
        case JoinKind::kComma:
            return "(COMMA " + TableText(ref) + ")";
        case JoinKind::kInner:
            return "(INNER JOIN " + TableText(ref) + " ON " + Dump(*ref.on) + ")";
        case JoinKind::kLeft:
            return "(LEFT JOIN " + TableText(ref) + " ON " + Dump(*ref.on) + ")";
    }
    return "?";
}

std::string ItemText(const SelectItem& item) {
    switch (item.kind) {
        case SelectItem::Kind::kAllColumns:
            return "*";
        case SelectItem::Kind::kAllOfTable:
            return NameText(*item.table) + ".*";
        case SelectItem::Kind::kExpr:
            break;
    }
    if (!item.alias) return Dump(*item.expr);
    return "(AS " + Dump(*item.expr) + " " + NameText(*item.alias) + ")";
}

std::string ColumnDefText(const ColumnDef& def) {
    return "(" + NameText(def.name) + " " + TypeName(def.type) + ")";
}

std::string PrimaryKeyText(const PrimaryKey& key) {
    static const char* const kCompress[] = {"", " COMPRESS FULL", " COMPRESS NONE"};
    return " (PRIMARY KEY " + NameList(key.columns) + kCompress[static_cast<int>(key.compress)] +
           ")";
}

std::string OptionsText(const TableOptions& options) {
    std::string out;
    if (options.language) out += " (LANGUAGE " + QuoteWith(*options.language, '\'') + ")";
    if (options.sort) out += " (SORT " + QuoteWith(*options.sort, '\'') + ")";
    if (options.userMajorVersion) {
        out += " (USER MAJOR VERSION " + std::to_string(*options.userMajorVersion) + ")";
    }
    return out;
}

struct StatementDumper {
    std::string operator()(const SelectStmt& s) const {
        std::string out = "(SELECT " + List("ITEMS", s.items, ItemText) + " " +
                          List("FROM", s.from, FromText) + Optional("WHERE", s.where);
        auto order = [](const OrderItem& o) {
            return std::string(o.descending ? "(DESC " : "(ASC ") + Dump(*o.expr) + ")";
        };
        if (!s.orderBy.empty()) out += " " + List("ORDER", s.orderBy, order);
        return out + ")";
    }
    std::string operator()(const UpdateStmt& s) const {
        auto set = [](const Assignment& a) {
            return "(" + NameText(a.column) + " " + Dump(*a.value) + ")";
        };
        return "(UPDATE " + NameText(s.table) + " " + List("SET", s.set, set) +
               Optional("WHERE", s.where) + ")";
    }
    std::string operator()(const DeleteStmt& s) const {
        return "(DELETE " + NameText(s.table) + Optional("WHERE", s.where) + ")";
    }
    std::string operator()(const InsertStmt& s) const {
        std::string out = "(INSERT " + NameText(s.table);
        if (!s.columns.empty()) out += " (COLUMNS " + NameList(s.columns).substr(1);
        auto row = [](const std::vector<ExprPtr>& r) {
            return "(" + Join(r, [](const ExprPtr& e) { return Dump(*e); }) + ")";
        };
        return out + " " + List("VALUES", s.rows, row) + ")";
    }
    std::string operator()(const CreateTableStmt& s) const {
        std::string out = std::string("(CREATE TABLE ") + (s.ifNotExists ? "IF NOT EXISTS " : "") +
                          NameText(s.table) + " " + List("COLUMNS", s.columns, ColumnDefText);
        if (s.primaryKey) out += PrimaryKeyText(*s.primaryKey);
        return out + OptionsText(s.options) + ")";
    }
    std::string operator()(const AlterTableStmt& s) const {
        auto add = [](const ColumnDef& d) { return "(ADD " + ColumnDefText(d).substr(1); };
        return "(ALTER TABLE " + NameText(s.table) + " " + Join(s.addColumns, add) + ")";
    }
    std::string operator()(const CreateIndexStmt& s) const {
        return std::string("(CREATE ") + (s.unique ? "UNIQUE " : "") + "INDEX " +
               NameText(s.index) + " ON " + NameText(s.table) + " " + NameList(s.columns) + ")";
    }
    std::string operator()(const DropTableStmt& s) const {
        return "(DROP TABLE " + NameText(s.table) + ")";
    }
};

}  // namespace

std::string Dump(const Expr& expr) {
    return std::visit(ExprDumper{}, expr.node);
}

std::string Dump(const Statement& statement) {
    return std::visit(StatementDumper{}, statement.node);
}

}  // namespace engine::sql
