#include "engine/sql/parser.h"

#include <unordered_set>

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/sql/expression_parser.h"
#include "engine/sql/keywords.h"
#include "engine/sql/lexer.h"
#include "engine/sql/source_position.h"
#include "engine/sql/statement_parsers.h"
#include "engine/sql/token_cursor.h"

namespace engine::sql {
namespace {

Statement::Node ParseNode(TokenCursor& cursor) {
    static constexpr struct {
        std::string_view keyword;
        Statement::Node (*parse)(TokenCursor&);
    } kForms[] = {{"SELECT", ParseSelect}, {"UPDATE", ParseUpdate}, {"DELETE", ParseDelete},
                  {"INSERT", ParseInsert}, {"CREATE", ParseCreate}, {"ALTER", ParseAlter},
                  {"DROP", ParseDrop}};
    for (const auto& form : kForms) {
        if (cursor.IsKeyword(form.keyword)) return form.parse(cursor);
    }
    cursor.Fail("expected SELECT, UPDATE, DELETE, INSERT, CREATE, ALTER or DROP");
}

// The statement made of tokens [begin, end), which is not empty.
Statement ParseRange(std::string_view text, const std::vector<Token>& tokens, size_t begin,
                     size_t end) {
    TokenCursor cursor(text, tokens, begin, end);
    Statement statement{ParseNode(cursor), tokens[begin].offset, 0};
    cursor.ExpectEnd();
    statement.end = tokens[end - 1].offset + tokens[end - 1].length;
    return statement;
}

}  // namespace

std::vector<Statement> ParseScript(std::string_view text) {
    std::vector<Token> tokens = Tokenize(text);
    std::vector<Statement> statements;
    size_t begin = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        TokenKind kind = tokens[i].kind;
        if (kind != TokenKind::kSemicolon && kind != TokenKind::kEnd) continue;
        if (i > begin) statements.push_back(ParseRange(text, tokens, begin, i));
        begin = i + 1;
    }
    return statements;
}

Statement ParseStatement(std::string_view text) {
    std::vector<Statement> statements = ParseScript(text);
    if (statements.empty()) ThrowSqlError(text, text.size(), "no statement in the text");
    if (statements.size() > 1) {
        ThrowSqlError(text, statements[1].offset, "a second statement",
                      "expected one statement only");
    }
    return std::move(statements.front());
}

ExprPtr ParseExpression(std::string_view text) {
    std::vector<Token> tokens = Tokenize(text);
    TokenCursor cursor(text, tokens, 0, tokens.size() - 1);
    ExprPtr expr = ParseExpr(cursor);
    cursor.ExpectEnd();
    return expr;
}

std::vector<std::string> ParameterNames(std::string_view text) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;  // lower-case names
    Lexer lexer(text, true);
    while (true) {
        Token token = lexer.Next();
        if (token.kind == TokenKind::kEnd) return names;
        if (token.kind == TokenKind::kParameter && seen.insert(LowerName(token.text)).second) {
            names.push_back(std::move(token.text));
        }
    }
}

}  // namespace engine::sql
