#include "engine/sql/expression_parser.h"

#include <charconv>
#include <optional>
#include <utility>

#include "engine/sql/keywords.h"

namespace engine::sql {
namespace {

ExprPtr ParseAnd(TokenCursor& cursor);
ExprPtr ParseNot(TokenCursor& cursor);
ExprPtr ParsePredicate(TokenCursor& cursor);
ExprPtr ParsePrimary(TokenCursor& cursor);

// term { keyword term }, gathered into one n-ary node when there are several.
template <class ParseTerm>
ExprPtr ParseChain(TokenCursor& cursor, std::string_view keyword, LogicalOp op, ParseTerm term) {
    ExprPtr first = term(cursor);
    if (!cursor.IsKeyword(keyword)) return first;
    size_t offset = first->offset;
    Logical chain{op, {}};
    chain.terms.push_back(std::move(first));
    while (cursor.AcceptKeyword(keyword)) chain.terms.push_back(term(cursor));
    return MakeExpr(std::move(chain), offset);
}

ExprPtr ParseAnd(TokenCursor& cursor) {
    return ParseChain(cursor, "AND", LogicalOp::kAnd, ParseNot);
}

// NOTs are counted in a loop, then wrapped around the predicate.
ExprPtr ParseNot(TokenCursor& cursor) {
    std::vector<size_t> nots;
    while (cursor.IsKeyword("NOT") && nots.size() <= TokenCursor::kMaxDepth) {
        nots.push_back(cursor.Next().offset);
    }
    if (nots.empty()) return ParsePredicate(cursor);
    TokenCursor::DepthGuard guard(cursor, nots.back(), static_cast<int>(nots.size()));
    ExprPtr expr = ParsePredicate(cursor);
    for (auto it = nots.rbegin(); it != nots.rend(); ++it)
        expr = MakeExpr(Not{std::move(expr)}, *it);
    return expr;
}

std::optional<CompareOp> CompareOpOf(TokenKind kind) {
    static constexpr std::pair<TokenKind, CompareOp> kOps[] = {
        {TokenKind::kEq, CompareOp::kEq}, {TokenKind::kNe, CompareOp::kNe},
        {TokenKind::kLt, CompareOp::kLt}, {TokenKind::kLe, CompareOp::kLe},
        {TokenKind::kGt, CompareOp::kGt}, {TokenKind::kGe, CompareOp::kGe}};
    for (auto [token, op] : kOps) {
        if (token == kind) return op;
    }
    return std::nullopt;
}

ExprPtr ParseIsNull(TokenCursor& cursor, ExprPtr operand) {
    size_t offset = operand->offset;
    bool negated = cursor.AcceptKeyword("NOT");
    cursor.ExpectKeyword("NULL");
    return MakeExpr(IsNull{std::move(operand), negated}, offset);
}

ExprPtr ParseLike(TokenCursor& cursor, ExprPtr operand, bool negated) {
    size_t offset = operand->offset;
    cursor.ExpectKeyword("LIKE");
    ExprPtr pattern = ParsePrimary(cursor);
    return MakeExpr(Like{std::move(operand), std::move(pattern), negated}, offset);
}

ExprPtr ParsePredicate(TokenCursor& cursor) {
    ExprPtr left = ParsePrimary(cursor);
    if (std::optional<CompareOp> op = CompareOpOf(cursor.Peek().kind)) {
        cursor.Next();
        size_t offset = left->offset;
        ExprPtr right = ParsePrimary(cursor);
        return MakeExpr(Comparison{*op, std::move(left), std::move(right)}, offset);
    }
    if (cursor.AcceptKeyword("IS")) return ParseIsNull(cursor, std::move(left));
    if (cursor.IsKeyword("LIKE")) return ParseLike(cursor, std::move(left), false);
    if (cursor.IsKeyword("NOT") && cursor.IsKeyword("LIKE", 1)) {
        cursor.Next();
        return ParseLike(cursor, std::move(left), true);
    }
    return left;
}

// An integer or float constant from its digits, with a sign when negated.
ExprPtr NumberConstant(TokenCursor& cursor, const Token& token, bool negative, size_t offset) {
    std::string text = (negative ? "-" : "") + token.text;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (token.kind == TokenKind::kInteger) {
        int64_t value = 0;
        auto [end, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || end != last)
            cursor.FailAt(offset, "integer constant out of range");
        return MakeExpr(Constant{Value(value)}, offset);
    }
    double value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) cursor.FailAt(offset, "number out of range");
    return MakeExpr(Constant{Value(value)}, offset);
}

ExprPtr ParseNegative(TokenCursor& cursor) {
    size_t offset = cursor.Next().offset;
    if (!cursor.Is(TokenKind::kInteger) && !cursor.Is(TokenKind::kFloat)) {
        cursor.Fail("expected a number after '-'");
    }
    return NumberConstant(cursor, cursor.Next(), true, offset);
}

ExprPtr ParseParenthesised(TokenCursor& cursor) {
    size_t offset = cursor.Peek().offset;
    TokenCursor::DepthGuard guard(cursor, offset);
    cursor.Next();
    ExprPtr inner = ParseExpr(cursor);
    cursor.Expect(TokenKind::kRParen, "expected ')'");
    return inner;
}

// TRUE, FALSE, NULL or a column named by a plain word.
ExprPtr ParseWord(TokenCursor& cursor) {
    const Token& token = cursor.Peek();
    if (IsKeyword(token, "TRUE") || IsKeyword(token, "FALSE")) {
        cursor.Next();
        return MakeExpr(Constant{Value(IsKeyword(token, "TRUE"))}, token.offset);
    }
    if (IsKeyword(token, "NULL")) {
        cursor.Next();
        return MakeExpr(Constant{Value()}, token.offset);
    }
    if (IsReservedWord(token.text)) cursor.Fail("expected an expression");
    return MakeExpr(ParseColumnRef(cursor), token.offset);
}

ExprPtr ParsePrimary(TokenCursor& cursor) {
    const Token& token = cursor.Peek();
    switch (token.kind) {
        case TokenKind::kLParen:
            return ParseParenthesised(cursor);
        case TokenKind::kParameter:
            cursor.Next();
            return MakeExpr(Parameter{token.text}, token.offset);
        case TokenKind::kString:
            cursor.Next();
            return MakeExpr(Constant{Value(token.text)}, token.offset);
        case TokenKind::kQuotedName:
            if (cursor.Is(TokenKind::kDot, 1))
                return MakeExpr(ParseColumnRef(cursor), token.offset);
            cursor.Next();
            return MakeExpr(Constant{Value(token.text)}, token.offset);
        case TokenKind::kInteger:
        case TokenKind::kFloat:
            cursor.Next();
            return NumberConstant(cursor, token, false, token.offset);
        case TokenKind::kMinus:
            return ParseNegative(cursor);
        case TokenKind::kName:
            return ParseWord(cursor);
        default:
            cursor.Fail("expected an expression");
    }
}

}  // namespace

ExprPtr ParseExpr(TokenCursor& cursor) {
    return ParseChain(cursor, "OR", LogicalOp::kOr, ParseAnd);
}

ColumnRef ParseColumnRef(TokenCursor& cursor) {
    Name first = cursor.ExpectName("expected a column name");
    if (!cursor.Accept(TokenKind::kDot)) return ColumnRef{std::nullopt, std::move(first)};
    Name column = cursor.ExpectName("expected a column name after '.'");
    return ColumnRef{std::move(first), std::move(column)};
}

}  // namespace engine::sql
