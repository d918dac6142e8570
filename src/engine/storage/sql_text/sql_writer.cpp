#include "engine/storage/sql_text/sql_writer.h"

#include "engine/common/error.h"
#include "engine/common/overload.h"

namespace engine::storage::sqltext {
namespace {

const char* OrderingOperator(plan::CompareOp op) {
    switch (op) {
        case plan::CompareOp::Lt:
            return " < ";
        case plan::CompareOp::Le:
            return " <= ";
        case plan::CompareOp::Gt:
            return " > ";
        default:
            return " >= ";
    }
}

bool IsValue(const plan::Expr& expr) {
    auto* literal = std::get_if<plan::Literal>(&expr.node);
    return literal && !literal->value.IsNull();
}

// Terms [begin, end) of an AND/OR chain. SQLite parses "a OR b OR c ..." into
// a left-deep tree and refuses trees deeper than 1000, so a long chain is
// written as nested halves, each at most kFlatTerms terms long.
constexpr size_t kFlatTerms = 64;

std::string WriteChain(SqlWriter& writer, const plan::Logical& l, size_t begin, size_t end) {
    const char* op = l.isAnd ? " AND " : " OR ";
    if (end - begin > kFlatTerms) {
        size_t middle = begin + (end - begin) / 2;
        // Two statements: the values must be bound in the order of the text.
        std::string left = WriteChain(writer, l, begin, middle);
        std::string right = WriteChain(writer, l, middle, end);
        return "(" + left + op + right + ")";
    }
    std::string out = "(";
    for (size_t i = begin; i < end; ++i) out += (i > begin ? op : "") + writer.Write(*l.terms[i]);
    return out + ")";
}

}  // namespace

std::string QuoteName(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string SqlWriter::Column(int source, int column) const {
    std::string name = QuoteName(sources_.at(source)->columns.at(column).name);
    return qualified_ ? "\"t" + std::to_string(source) + "\"." + name : name;
}

std::string SqlWriter::Bind(const Value& value) {
    if (value.IsNull()) return "NULL";
    bindings_.push_back(value);
    return dialect_.Placeholder(bindings_.size(), value);
}

std::string SqlWriter::BindAny(const Value& value) {
    bindings_.push_back(value);
    return dialect_.Placeholder(bindings_.size(), value);
}

bool SqlWriter::IsText(const plan::Expr& expr) const {
    if (auto* column = std::get_if<plan::ColumnRef>(&expr.node))
        return IsTextType(column->type.type);
    if (auto* literal = std::get_if<plan::Literal>(&expr.node)) return literal->value.IsText();
    return false;
}

std::string SqlWriter::WriteCompare(const plan::Compare& c) {
    std::string left = Write(*c.left);
    std::string right = Write(*c.right);
    if (c.op == plan::CompareOp::Eq)
        return "(" + left + dialect_.Same(IsValue(*c.right)) + right + ")";
    if (c.op == plan::CompareOp::Ne) return "(" + left + dialect_.Different() + right + ")";
    // In an ordering comparison a NULL text counts as an empty text.
    if (IsText(*c.left) || IsText(*c.right)) {
        left = "COALESCE(" + left + ",'')";
        right = "COALESCE(" + right + ",'')";
    }
    return "(" + left + OrderingOperator(c.op) + right + ")";
}

std::string SqlWriter::WriteLike(const plan::Like& like) {
    auto* literal = std::get_if<plan::Literal>(&like.pattern->node);
    if (!literal)
        throw EngineError::Make(err::kSqlError,
                                "LIKE needs a constant or a parameter as its pattern");
    std::string operand = Write(*like.operand);
    if (literal->value.IsNull()) return "(NULL)";
    std::string pattern =
        dialect_.LikePattern(literal->value.IsText() ? literal->value.Text() : "");
    std::string sql = "(" + dialect_.Like(operand, Bind(Value(pattern))) + ")";
    return like.negated ? "(NOT COALESCE(" + sql + "," + dialect_.False() + "))" : sql;
}

std::string SqlWriter::WriteNot(const plan::Not& n) {
    return "(NOT COALESCE(" + Write(*n.operand) + "," + dialect_.False() + "))";
}

std::string SqlWriter::Write(const plan::Expr& expr) {
    return std::visit(
        Overload{
            [&](const plan::ColumnRef& c) { return Column(c.source, c.column); },
            [&](const plan::Literal& l) { return Bind(l.value); },
            [&](const plan::Compare& c) { return WriteCompare(c); },
            [&](const plan::Logical& l) { return WriteChain(*this, l, 0, l.terms.size()); },
            [&](const plan::Not& n) { return WriteNot(n); },
            [&](const plan::IsNull& n) {
                return "(" + Write(*n.operand) + (n.negated ? " IS NOT NULL)" : " IS NULL)");
            },
            [&](const plan::Like& l) { return WriteLike(l); },
            [&](const plan::DateAsDateTime& d) {
                return dialect_.DateAsDateTime(Write(*d.operand));
            },
        },
        expr.node);
}

}  // namespace engine::storage::sqltext
