// The parser's view of one statement's tokens (internal to the parser).
//
// A cursor walks the tokens [begin, end) of a tokenized text; the token at
// `end` (a ";" or the final kEnd) is returned for every look past the end, so
// the grammar sees a statement's ";" as its end. The cursor borrows the text
// and the tokens. Its Fail functions throw EngineError 11949 with the place
// and what was expected; its depth guard bounds the nesting of expressions so
// that hostile input cannot exhaust the stack.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/sql/ast.h"
#include "engine/sql/token.h"

namespace engine::sql {

class TokenCursor {
  public:
    // Nesting levels (parentheses and NOTs) an expression may have.
    static constexpr int kMaxDepth = 100;

    TokenCursor(std::string_view text, const std::vector<Token>& tokens, size_t begin, size_t end)
        : text_(text), tokens_(tokens), pos_(begin), end_(end) {}

    const Token& Peek(size_t ahead = 0) const;
    const Token& Next();
    bool Is(TokenKind kind, size_t ahead = 0) const { return Peek(ahead).kind == kind; }
    bool IsKeyword(std::string_view keyword, size_t ahead = 0) const;
    // A plain name that is no reserved word, or a double-quoted name.
    bool IsName(size_t ahead = 0) const;
    bool AtEnd() const { return pos_ >= end_; }

    bool Accept(TokenKind kind);
    bool AcceptKeyword(std::string_view keyword);
    const Token& Expect(TokenKind kind, std::string_view expected);
    void ExpectKeyword(std::string_view keyword);
    Name ExpectName(std::string_view expected);  // expected: "a table name"
    void ExpectEnd();

    // "unexpected <token> at line L, column C; expected <expected>".
    [[noreturn]] void Fail(std::string_view expected) const;
    [[noreturn]] void FailAt(size_t offset, std::string_view what) const;

    // Counts `levels` nesting levels for as long as it lives; fails at
    // `offset` when that passes kMaxDepth.
    class DepthGuard {
      public:
        DepthGuard(TokenCursor& cursor, size_t offset, int levels = 1);
        ~DepthGuard() { cursor_.depth_ -= levels_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

      private:
        TokenCursor& cursor_;
        int levels_;
    };

  private:
    std::string_view text_;
    const std::vector<Token>& tokens_;
    size_t pos_;
    size_t end_;
    int depth_ = 0;
};

}  // namespace engine::sql
