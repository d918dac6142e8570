// Inputs too large or too regular for the case file: the parser must read
// long AND/OR chains without recursion, refuse deep nesting with an SQL error
// instead of exhausting the stack, and take statements of any size.
#include <gtest/gtest.h>

#include <string>

#include "engine/common/error.h"
#include "engine/sql/parser.h"
#include "engine/sql/token_cursor.h"

namespace engine::sql {
namespace {

// "a0 = :p0 <op> a1 = :p1 <op> ..." with `count` terms.
std::string Chain(int count, const std::string& op) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += " " + op + " ";
        text += "a" + std::to_string(i) + " = :p" + std::to_string(i);
    }
    return text;
}

std::string Repeat(const std::string& part, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += part;
    return out;
}

// The text of the SQL error that parsing `text` raises, or "" when none.
std::string ErrorOf(const std::string& text) {
    try {
        ParseStatement(text);
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kSqlError);
        return e.what();
    }
    return "";
}

TEST(ParserLimits, LongAndOrChainsAreFlatNodes) {
    constexpr int kTerms = 20000;
    for (const char* op : {"and", "OR"}) {
        Statement s = ParseStatement("Delete From t Where " + Chain(kTerms, op));
        const auto* logical = s.As<DeleteStmt>()->where->As<Logical>();
        ASSERT_NE(logical, nullptr) << op;
        EXPECT_EQ(logical->terms.size(), static_cast<size_t>(kTerms)) << op;
        EXPECT_EQ(logical->op, op[0] == 'a' ? LogicalOp::kAnd : LogicalOp::kOr);
    }
    EXPECT_EQ(ParameterNames("Select * From t Where " + Chain(kTerms, "and")).size(),
              static_cast<size_t>(kTerms));
}

TEST(ParserLimits, MixedChainKeepsPrecedence) {
    // a0 and a1 or a2 and a3 or ... : an OR of two-term ANDs.
    std::string text = "a0 = 0";
    for (int i = 1; i < 10000; ++i)
        text += (i % 2 ? " and a" : " or a") + std::to_string(i) + " = 0";
    ExprPtr expr = ParseExpression(text);
    const auto* any = expr->As<Logical>();
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->op, LogicalOp::kOr);
    ASSERT_EQ(any->terms.size(), 5000u);
    EXPECT_EQ(any->terms.back()->As<Logical>()->terms.size(), 2u);
}

TEST(ParserLimits, NestingUpToTheLimitParses) {
    int depth = TokenCursor::kMaxDepth;
    EXPECT_EQ(ErrorOf("Select * From t Where " + Repeat("(", depth) + "a = 1" + Repeat(")", depth)),
              "");
    EXPECT_EQ(ErrorOf("Select * From t Where " + Repeat("not ", depth) + "a = 1"), "");
}

TEST(ParserLimits, DeeperNestingIsAnSqlError) {
    const std::string kTooDeep = "SQL error - expression nested too deeply at line 1";
    for (int depth : {TokenCursor::kMaxDepth + 1, 200, 100000}) {
        std::string parens =
            "Select * From t Where " + Repeat("(", depth) + "a = 1" + Repeat(")", depth);
        EXPECT_EQ(ErrorOf(parens).rfind(kTooDeep, 0), 0u) << depth;
        std::string nots = "Select * From t Where " + Repeat("NOT ", depth) + "a = 1";
        EXPECT_EQ(ErrorOf(nots).rfind(kTooDeep, 0), 0u) << depth;
        std::string mixed =
            "Select * From t Where " + Repeat("not (", depth) + "a" + Repeat(")", depth);
        EXPECT_EQ(ErrorOf(mixed).rfind(kTooDeep, 0), 0u) << depth;
    }
}

TEST(ParserLimits, HugeStatementsParse) {
    std::string big(4 << 20, 'x');
    Statement s = ParseStatement("Update t Set memo = '" + big + "' Where id = 1");
    EXPECT_EQ(s.As<UpdateStmt>()->set[0].value->As<Constant>()->value.Text(), big);

    std::string items = "Select c0";
    for (int i = 1; i < 50000; ++i) items += ", c" + std::to_string(i);
    EXPECT_EQ(ParseStatement(items + " From t").As<SelectStmt>()->items.size(), 50000u);

    std::string rows = "Insert Into t Values (0)";
    for (int i = 1; i < 50000; ++i) rows += ", (" + std::to_string(i) + ")";
    EXPECT_EQ(ParseStatement(rows).As<InsertStmt>()->rows.size(), 50000u);
}

TEST(ParserLimits, ErrorMessagesStayShortForHugeTokens) {
    const std::string huge(1 << 20, '7');
    struct {
        std::string text, start;
    } cases[] = {
        {"Select * From '" + huge + "'", "SQL error - unexpected string constant '7777"},
        {"Select * From t Where a = 1" + huge + "x", "SQL error - malformed number '17777"},
        {"Create Table t (a Char(" + huge + "))", "SQL error - text size 7777"},
        {"Select * From t Where a b" + huge, "SQL error - unexpected token 'b7777"},
    };
    for (const auto& c : cases) {
        std::string message = ErrorOf(c.text);
        EXPECT_EQ(message.rfind(c.start, 0), 0u) << message.substr(0, 80);
        EXPECT_LT(message.size(), 200u);
    }
}

TEST(ParserLimits, ParameterScanSurvivesGarbage) {
    // Stray characters are skipped one by one; an unterminated string hides
    // the rest of the text.
    std::string garbage = Repeat("#!", 200000) + ":PM1 '" + ":PM2";
    EXPECT_EQ(ParameterNames(garbage), std::vector<std::string>{"PM1"});
}

}  // namespace
}  // namespace engine::sql
