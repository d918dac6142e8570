// The tokens of the SQL dialect, as the lexer (lexer.h) delivers them.
#pragma once

#include <cstddef>
#include <string>

namespace engine::sql {

enum class TokenKind {
    kName,        // plain name or keyword: Book_ID, Select, Head$$
    kQuotedName,  // text in double quotes: a name, or a string in an expression
    kString,      // text in single quotes
    kInteger,     // 123
    kFloat,       // 1.5, 2e3
    kParameter,   // :PM1 (text is "PM1")
    kLParen,
    kRParen,
    kComma,
    kDot,
    kSemicolon,
    kStar,
    kMinus,
    kEq,
    kNe,  // <> or !=
    kLt,
    kLe,
    kGt,
    kGe,
    kEnd,    // end of the text
    kError,  // malformed input, from a tolerant lexer only (text: the fault)
};

struct Token {
    TokenKind kind = TokenKind::kEnd;
    // Names and numbers as written; quoted names and strings without their
    // quotes and with doubled quotes made single; parameters without ":";
    // symbols as written.
    std::string text;
    size_t offset = 0;  // first byte in the source
    size_t length = 0;  // bytes in the source, quotes included
};

}  // namespace engine::sql
