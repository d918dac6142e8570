// The lexer of the SQL dialect: text in, tokens with offsets out.
//
// Blanks (space, tab, CR, LF, FF, VT) and comments "/* ... */" separate
// tokens and are dropped. Plain names start with a letter, "_" or a non-ASCII
// byte and go on with those, digits and "$"; keywords are plain names (the
// parser tells them apart without regard to case). Text in double quotes is a
// kQuotedName, text in single quotes a kString; inside either, the quote
// doubled stands for itself, and line breaks are kept. A parameter is ":"
// followed by a plain name or a double-quoted one.
//
// Malformed input (an unterminated string or comment, a stray character, a
// number run into a name) throws EngineError 11949 naming the place. The lexer
// only reads the text it is given; the caller keeps it alive.
#pragma once

#include <string_view>
#include <vector>

#include "engine/sql/token.h"

namespace engine::sql {

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    // The next token; kEnd (repeatedly) at the end of the text.
    Token Next();

    // After Next() threw: moves past the bad input so that scanning can go
    // on (past one stray character, or to the end for an unterminated
    // string or comment). Used by scanners that must never fail.
    void SkipBadInput() { pos_ = resume_; }

private:
    void SkipBlanksAndComments();
    Token Symbol(size_t start);
    Token Word(size_t start);
    Token Number(size_t start);
    Token Quoted(size_t start, char quote, TokenKind kind);
    Token ParameterToken(size_t start);
    Token Make(TokenKind kind, size_t start, std::string text);
    [[noreturn]] void Fail(size_t offset, size_t resume, std::string_view what);
    char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

    std::string_view text_;
    size_t pos_ = 0;
    size_t resume_ = 0;
};

// All tokens of a text, ending with one kEnd token. Throws like Next().
std::vector<Token> Tokenize(std::string_view text);

// How a token reads in an error message: "token 'FROM'", "end of statement".
std::string DescribeToken(const Token& token);

}  // namespace engine::sql
