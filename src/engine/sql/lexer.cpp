#include "engine/sql/lexer.h"

#include <cstdio>

#include "engine/sql/source_position.h"

namespace engine::sql {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsNamePart(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '$';
}

// A stray character as an error names it: '#', or its code when unprintable.
std::string CharacterText(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u > 0x20 && u < 0x7F) return std::string("'") + c + "'";
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", u);
    return buf;
}

}  // namespace

Token Lexer::Next() {
    if (!SkipBlanksAndComments()) return Fail(pos_, text_.size(), "unterminated comment");
    size_t start = pos_;
    if (start >= text_.size()) return Make(TokenKind::kEnd, start, {});
    char c = text_[start];
    if (IsNameStart(c)) return Word(start);
    if (IsDigit(c)) return Number(start);
    if (c == '\'') return Quoted(start, '\'', TokenKind::kString);
    if (c == '"') return Quoted(start, '"', TokenKind::kQuotedName);
    if (c == ':') return ParameterToken(start);
    return Symbol(start);
}

bool Lexer::SkipBlanksAndComments() {
    while (pos_ < text_.size()) {
        if (IsBlank(text_[pos_])) {
            ++pos_;
        } else if (text_[pos_] == '/' && At(pos_ + 1) == '*') {
            size_t close = text_.find("*/", pos_ + 2);
            if (close == std::string_view::npos) return false;
            pos_ = close + 2;
        } else {
            break;
        }
    }
    return true;
}

Token Lexer::Symbol(size_t start) {
    char c = text_[start];
    char d = At(start + 1);
    auto two = [&](TokenKind kind) { return Make(kind, start, std::string{c, d}); };
    if (c == '<' && d == '>') return two(TokenKind::kNe);
    if (c == '!' && d == '=') return two(TokenKind::kNe);
    if (c == '<' && d == '=') return two(TokenKind::kLe);
    if (c == '>' && d == '=') return two(TokenKind::kGe);
    static constexpr struct {
        char c;
        TokenKind kind;
    } kSingles[] = {{'(', TokenKind::kLParen},    {')', TokenKind::kRParen},
                    {',', TokenKind::kComma},     {'.', TokenKind::kDot},
                    {';', TokenKind::kSemicolon}, {'*', TokenKind::kStar},
                    {'-', TokenKind::kMinus},     {'=', TokenKind::kEq},
                    {'<', TokenKind::kLt},        {'>', TokenKind::kGt}};
    for (const auto& single : kSingles) {
        if (single.c == c) return Make(single.kind, start, std::string(1, c));
    }
    return Fail(start, start + 1, "unexpected character " + CharacterText(c));
}

Token Lexer::Word(size_t start) {
    size_t end = start;
    while (end < text_.size() && IsNamePart(text_[end])) ++end;
    return Make(TokenKind::kName, start, std::string(text_.substr(start, end - start)));
}

// digits [. digits] [e [+|-] digits]; a name character right after is an error
// so that "12abc" is not read as 12 followed by abc.
Token Lexer::Number(size_t start) {
    size_t end = start;
    auto digits = [&] {
        while (IsDigit(At(end))) ++end;
    };
    digits();
    TokenKind kind = TokenKind::kInteger;
    if (At(end) == '.' && IsDigit(At(end + 1))) {
        ++end;
        digits();
        kind = TokenKind::kFloat;
    }
    if (At(end) == 'e' || At(end) == 'E') {
        size_t exp = end + 1;
        if (At(exp) == '+' || At(exp) == '-') ++exp;
        if (IsDigit(At(exp))) {
            end = exp;
            digits();
            kind = TokenKind::kFloat;
        }
    }
    if (IsNamePart(At(end)) || At(end) == '.') {
        size_t bad = end;
        while (IsNamePart(At(bad)) || At(bad) == '.') ++bad;
        return Fail(start, bad,
                    "malformed number '" + Excerpt(text_.substr(start, bad - start)) + "'");
    }
    return Make(kind, start, std::string(text_.substr(start, end - start)));
}

Token Lexer::Quoted(size_t start, char quote, TokenKind kind) {
    std::string value;
    size_t i = start + 1;
    while (true) {
        size_t close = text_.find(quote, i);
        if (close == std::string_view::npos) {
            return Fail(start, text_.size(),
                        kind == TokenKind::kString ? "unterminated string constant"
                                                   : "unterminated quoted name");
        }
        value.append(text_.substr(i, close - i));
        if (At(close + 1) != quote) {
            pos_ = close + 1;
            break;
        }
        value += quote;  // a doubled quote stands for one
        i = close + 2;
    }
    Token token{kind, std::move(value), start, pos_ - start};
    return token;
}

Token Lexer::ParameterToken(size_t start) {
    size_t nameStart = start + 1;
    if (At(nameStart) == '"') {
        Token quoted = Quoted(nameStart, '"', TokenKind::kQuotedName);
        if (quoted.kind == TokenKind::kError) return quoted;
        if (!quoted.text.empty()) return {TokenKind::kParameter, quoted.text, start, pos_ - start};
    } else if (IsNamePart(At(nameStart))) {
        size_t end = nameStart;
        while (IsNamePart(At(end))) ++end;
        pos_ = end;
        return {TokenKind::kParameter, std::string(text_.substr(nameStart, end - nameStart)), start,
                end - start};
    }
    return Fail(start, start + 1, "expected a parameter name after ':'");
}

Token Lexer::Make(TokenKind kind, size_t start, std::string text) {
    pos_ = start + text.size();
    return Token{kind, std::move(text), start, pos_ - start};
}

Token Lexer::Fail(size_t offset, size_t resume, std::string_view what) {
    // A tolerant scan of garbage meets a fault per byte: it must not locate
    // each one (that would make the scan quadratic) nor throw.
    if (!tolerant_) ThrowSqlError(text_, offset, what);
    pos_ = resume;
    return Token{TokenKind::kError, std::string(what), offset, resume - offset};
}

std::vector<Token> Tokenize(std::string_view text) {
    Lexer lexer(text);
    std::vector<Token> tokens;
    do {
        tokens.push_back(lexer.Next());
    } while (tokens.back().kind != TokenKind::kEnd);
    return tokens;
}

std::string DescribeToken(const Token& token) {
    std::string text = Excerpt(token.text);
    switch (token.kind) {
        case TokenKind::kEnd:
            return "end of statement";
        case TokenKind::kString:
            return "string constant '" + text + "'";
        case TokenKind::kQuotedName:
            return "quoted text \"" + text + "\"";
        case TokenKind::kParameter:
            return "parameter ':" + text + "'";
        default:
            return "token '" + text + "'";
    }
}

}  // namespace engine::sql
