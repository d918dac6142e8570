// The parser of the engine's SQL dialect: text in, syntax tree (ast.h) out.
//
// The dialect is the one the application writes: SELECT with comma joins and
// [INNER] / LEFT [OUTER] JOIN chains, UPDATE, DELETE, INSERT, CREATE TABLE with
// its key compression and table options, ALTER TABLE ... ADD, CREATE [UNIQUE]
// INDEX and DROP TABLE (statement_parsers.h and expression_parser.h give the
// grammar). Keywords are matched without regard to case; names are kept as
// written. A line break is a blank, "/* ... */" is a comment, ";" separates
// statements.
//
// Every syntax error throws EngineError 11949, "SQL error - <what> at line L,
// column C; <what was expected>". Hostile input cannot crash or hang the
// parser: the work is linear in the text, AND/OR chains of any length are read
// without recursion, and nesting deeper than TokenCursor::kMaxDepth (100
// levels of parentheses or NOTs) is an error. The parser keeps no reference
// to the text it read; the returned tree owns everything it holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/sql/ast.h"

namespace engine::sql {

// All statements of a text separated by ";"; empty statements (";;", a
// trailing ";", a text of blanks and comments) are skipped. The text is
// parsed as a whole before anything runs: one bad statement fails the lot.
std::vector<Statement> ParseScript(std::string_view text);

// Exactly one statement; a trailing ";" is allowed.
Statement ParseStatement(std::string_view text);

// One expression filling the whole text, as a table filter is written:
// "kashidashiF<>True", "Book_ID=123".
ExprPtr ParseExpression(std::string_view text);

// The names of the parameters of a text in the order of their first use,
// each once (compared without regard to case, spelled as first written).
// A ":" inside a string constant, a quoted name or a comment is no parameter.
// Never throws: malformed text yields the parameters found around the fault,
// and the fault itself is reported when the statement is parsed.
std::vector<std::string> ParameterNames(std::string_view text);

}  // namespace engine::sql
