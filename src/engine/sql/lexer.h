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
// number run into a name) throws EngineError 11949 naming the place, unless
// the lexer is tolerant (below). The lexer only reads the text it is given;
// the caller keeps it alive.
#pragma once

#include <string_view>
#include <vector>

#include "engine/sql/token.h"

namespace engine::sql {

class Lexer {
  public:
    // A tolerant lexer reports malformed input as a kError token, moves past
    // it (past one stray character, or to the end of the text for an
    // unterminated string or comment) and goes on; the others throw.
    explicit Lexer(std::string_view text, bool tolerant = false)
        : text_(text), tolerant_(tolerant) {}

    // The next token; kEnd (repeatedly) at the end of the text.
    Token Next();

  private:
    bool SkipBlanksAndComments();  // false at an unterminated comment
    Token Symbol(size_t start);
    Token Word(size_t start);
    Token Number(size_t start);
    Token Quoted(size_t start, char quote, TokenKind kind);
    Token ParameterToken(size_t start);
    Token Make(TokenKind kind, size_t start, std::string text);
    // Throws the error, or in a tolerant lexer resumes at `resume` and
    // returns a kError token.
    Token Fail(size_t offset, size_t resume, std::string_view what);
    char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

    std::string_view text_;
    bool tolerant_;
    size_t pos_ = 0;
};

// All tokens of a text, ending with one kEnd token. Throws like Next().
std::vector<Token> Tokenize(std::string_view text);

// How a token reads in an error message: "token 'FROM'", "end of statement".
std::string DescribeToken(const Token& token);

}  // namespace engine::sql
