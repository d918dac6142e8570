#include "engine/sql/token_cursor.h"

#include "engine/sql/keywords.h"
#include "engine/sql/lexer.h"
#include "engine/sql/source_position.h"

namespace engine::sql {

const Token& TokenCursor::Peek(size_t ahead) const {
    size_t at = pos_ + ahead;
    return tokens_[at < end_ ? at : end_];
}

const Token& TokenCursor::Next() {
    const Token& token = Peek();
    if (pos_ < end_) ++pos_;
    return token;
}

bool TokenCursor::IsKeyword(std::string_view keyword, size_t ahead) const {
    return sql::IsKeyword(Peek(ahead), keyword);
}

bool TokenCursor::IsName(size_t ahead) const {
    const Token& token = Peek(ahead);
    if (token.kind == TokenKind::kQuotedName) return true;
    return token.kind == TokenKind::kName && !IsReservedWord(token.text);
}

bool TokenCursor::Accept(TokenKind kind) {
    if (!Is(kind)) return false;
    Next();
    return true;
}

bool TokenCursor::AcceptKeyword(std::string_view keyword) {
    if (!IsKeyword(keyword)) return false;
    Next();
    return true;
}

const Token& TokenCursor::Expect(TokenKind kind, std::string_view expected) {
    if (!Is(kind)) Fail(expected);
    return Next();
}

void TokenCursor::ExpectKeyword(std::string_view keyword) {
    if (!AcceptKeyword(keyword)) Fail("expected '" + std::string(keyword) + "'");
}

Name TokenCursor::ExpectName(std::string_view expected) {
    if (!IsName()) Fail(expected);
    const Token& token = Next();
    bool quoted = token.kind == TokenKind::kQuotedName;
    if (quoted && token.text.empty()) FailAt(token.offset, "empty name");
    return Name{token.text, token.offset, quoted};
}

void TokenCursor::ExpectEnd() {
    if (!AtEnd()) Fail("expected the end of the statement");
}

void TokenCursor::Fail(std::string_view expected) const {
    const Token& token = Peek();
    ThrowSqlError(text_, token.offset, "unexpected " + DescribeToken(token), expected);
}

void TokenCursor::FailAt(size_t offset, std::string_view what) const {
    ThrowSqlError(text_, offset, what);
}

TokenCursor::DepthGuard::DepthGuard(TokenCursor& cursor, size_t offset, int levels)
    : cursor_(cursor), levels_(levels) {
    if (levels_ > kMaxDepth - cursor_.depth_) {
        cursor_.FailAt(offset, "expression nested too deeply");
    }
    cursor_.depth_ += levels_;
}

}  // namespace engine::sql
