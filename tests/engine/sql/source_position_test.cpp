// Where things are: the line and column of an offset, the offsets that the
// tree's nodes keep, and the tokens the lexer delivers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/common/error.h"
#include "engine/sql/lexer.h"
#include "engine/sql/parser.h"
#include "engine/sql/source_position.h"

namespace engine::sql {
namespace {

TEST(SourcePosition, CountsLinesAndCharacters) {
    struct {
        std::string text;
        size_t offset;
        int line, column;
    } cases[] = {
        {"Select", 0, 1, 1}, {"Select * From t", 9, 1, 10},
        {"a\nbc", 3, 2, 2},  {"a\r\nbc", 4, 2, 2},  // CR LF is one line break
        {"a\rbc", 3, 2, 2},                         // so is a lone CR
        {"名前 x", 7, 1, 4},                        // a Japanese character is one column
        {"ab", 99, 1, 3},                           // past the end: just after the last character
    };
    for (const auto& c : cases) {
        SourcePosition pos = Locate(c.text, c.offset);
        EXPECT_EQ(pos.line, c.line) << c.text;
        EXPECT_EQ(pos.column, c.column) << c.text;
    }
    EXPECT_EQ(DescribePosition("a\nbc", 3), "line 2, column 2");
}

TEST(SourcePosition, ExcerptsCutLongTextsBetweenCharacters) {
    std::string ascii(50, 'a');
    std::string kana;
    for (int i = 0; i < 20; ++i) kana += "あ";  // three bytes each
    EXPECT_EQ(Excerpt("short"), "short");
    EXPECT_EQ(Excerpt(ascii.substr(0, 40)), ascii.substr(0, 40));
    EXPECT_EQ(Excerpt(ascii), ascii.substr(0, 40) + "...");
    EXPECT_EQ(Excerpt(kana), kana.substr(0, 39) + "...");  // 13 whole characters
}

TEST(SourcePosition, ErrorsNameTheCharacterColumn) {
    try {
        ParseStatement("Select 名前, From t");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(),
                     "SQL error - unexpected token 'From' at line 1, column 12; expected an "
                     "expression");
    }
}

TEST(SourcePosition, NodesKeepTheirOffsets) {
    //                       0         1         2         3         4         5
    //                       0123456789012345678901234567890123456789012345678901234
    const std::string text = "Select k.a x From kashibo k\n Left Join b On b.id = :PM Where";
    Statement s = ParseStatement(text + " NOT c Like 'z%'");
    const auto& select = *s.As<SelectStmt>();
    EXPECT_EQ(s.offset, 0u);
    EXPECT_EQ(s.end, text.size() + 16);
    EXPECT_EQ(select.items[0].offset, 7u);
    EXPECT_EQ(select.items[0].expr->offset, 7u);
    EXPECT_EQ(select.items[0].expr->As<ColumnRef>()->column.offset, 9u);
    EXPECT_EQ(select.items[0].alias->offset, 11u);
    EXPECT_EQ(select.from[0].offset, 18u);
    EXPECT_EQ(select.from[0].alias->offset, 26u);
    EXPECT_EQ(select.from[1].offset, 29u);  // the LEFT of the join
    EXPECT_EQ(select.from[1].table.offset, 39u);
    const auto& on = *select.from[1].on->As<Comparison>();
    EXPECT_EQ(on.right->offset, text.find(":PM"));
    EXPECT_EQ(select.where->offset, text.size() + 1);  // the NOT
    EXPECT_EQ(select.where->As<Not>()->operand->offset, text.size() + 5);
}

TEST(SourcePosition, ScriptStatementsKnowTheirSpan) {
    const std::string text = "  Select * From a ;\n/* x */ Delete From b;";
    std::vector<Statement> script = ParseScript(text);
    ASSERT_EQ(script.size(), 2u);
    EXPECT_EQ(text.substr(script[0].offset, script[0].end - script[0].offset), "Select * From a");
    EXPECT_EQ(text.substr(script[1].offset, script[1].end - script[1].offset), "Delete From b");
    EXPECT_TRUE(script[0].ReturnsRows());
    EXPECT_FALSE(script[1].ReturnsRows());
}

std::string Kinds(const std::string& text) {
    std::string out;
    for (const Token& t : Tokenize(text)) {
        static const char* const kNames[] = {
            "name", "qname", "str", "int", "float", "param", "(", ")",  ",",   ".",    ";",
            "*",    "-",     "=",   "<>",  "<",     "<=",    ">", ">=", "end", "error"};
        out += std::string(kNames[static_cast<int>(t.kind)]) +
               (t.text.empty() ? "" : ":" + t.text) + " ";
    }
    return out;
}

TEST(Lexer, DeliversTokens) {
    struct {
        std::string text, tokens;
    } cases[] = {
        {"Head$$ _x 名前", "name:Head$$ name:_x name:名前 end "},
        {"'it''s' \"a\"\"b\" ''", "str:it's qname:a\"b str end "},
        {"1 1.5 2e3 2E-3 007", "int:1 float:1.5 float:2e3 float:2E-3 int:007 end "},
        {":PM1 :\"a b\" :_x", "param:PM1 param:a b param:_x end "},
        {"<><=>=< >!==", "<>:<> <=:<= >=:>= <:< >:> <>:!= =:= end "},
        {"a.b,(*);-", "name:a .:. name:b ,:, (:( *:* ):) ;:; -:- end "},
        {"a/* :x ; */b\r\n\tc", "name:a name:b name:c end "},
        {"'line\nbreak'", "str:line\nbreak end "},
    };
    for (const auto& c : cases) EXPECT_EQ(Kinds(c.text), c.tokens) << c.text;
}

TEST(Lexer, TokensKnowTheirPlaceAndLength) {
    std::vector<Token> tokens = Tokenize("a = 'x''y' :PM");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[2].offset, 4u);
    EXPECT_EQ(tokens[2].length, 6u);
    EXPECT_EQ(tokens[3].offset, 11u);
    EXPECT_EQ(tokens[3].length, 3u);
    EXPECT_EQ(tokens[4].offset, 14u);
}

}  // namespace
}  // namespace engine::sql
