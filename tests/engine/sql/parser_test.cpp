// The parser against the cases of parse_cases.txt (one test per case), plus
// the inputs that are too large or too regular to write there: long AND/OR
// chains, deep nesting, huge statements, and the offsets the tree keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "engine/common/error.h"
#include "engine/sql/dump.h"
#include "engine/sql/parser.h"
#include "engine/sql/token_cursor.h"

namespace engine::sql {
namespace {

// One expectation of the case file: an input, the function to run it
// through (the tag) and the dump or error text expected.
struct Case {
    int line = 0;
    std::string input;
    std::string tag;  // "=>", "=>script", "=>expr", "=>params", "!!", "!!script", "!!expr"
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << "parse_cases.txt:" << c.line << " " << c.tag << "\n" << c.input;
}

bool IsExpectation(const std::string& line) {
    return line.rfind("=>", 0) == 0 || line.rfind("!!", 0) == 0;
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

Case MakeCase(int number, const std::vector<std::string>& input, const std::string& expectation) {
    Case c{number, {}, {}, {}};
    for (size_t i = 0; i < input.size(); ++i) c.input += (i ? "\n" : "") + input[i];
    size_t space = expectation.find(' ');
    c.tag = expectation.substr(0, space);
    if (space != std::string::npos) c.expected = expectation.substr(space + 1);
    return c;
}

// A blank line ends a case; so does an input line after an expectation.
std::vector<Case> LoadCases() {
    std::ifstream in(KX_TEST_DATA "/engine/sql/parse_cases.txt");
    std::vector<Case> cases;
    std::vector<std::string> input;
    bool expected = false;  // the current input has had an expectation
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.rfind('#', 0) == 0) continue;
        bool expectation = IsExpectation(line);
        if (IsBlank(line) || (expected && !expectation)) {
            input.clear();
            expected = false;
        }
        if (expectation) {
            cases.push_back(MakeCase(number, input, line));
            expected = true;
        } else if (!IsBlank(line)) {
            input.push_back(line);
        }
    }
    return cases;
}

template <class T, class Fn>
std::string JoinAll(const std::vector<T>& items, const char* separator, Fn text) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? separator : "") + text(items[i]);
    return out;
}

// What the tagged function makes of the input: a dump or a list of names.
std::string RunCase(const std::string& function, const std::string& input) {
    if (function == "script") {
        return JoinAll(ParseScript(input), " ; ", [](const Statement& s) { return Dump(s); });
    }
    if (function == "expr") return Dump(*ParseExpression(input));
    if (function == "params") {
        return JoinAll(ParameterNames(input), " ", [](const std::string& n) { return n; });
    }
    return Dump(ParseStatement(input));
}

class ParseCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParseCaseTest, GivesTheExpectedTreeOrError) {
    const Case& c = GetParam();
    std::string function = c.tag.substr(2);
    if (c.tag.rfind("=>", 0) == 0) {
        try {
            EXPECT_EQ(RunCase(function, c.input), c.expected);
        } catch (const EngineError& e) {
            ADD_FAILURE() << "unexpected error: " << e.what();
        }
        return;
    }
    try {
        std::string result = RunCase(function, c.input);
        ADD_FAILURE() << "no error; got " << result;
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kSqlError);
        EXPECT_EQ(std::string(e.what()).substr(0, c.expected.size()), c.expected) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseCaseTest, ::testing::ValuesIn(LoadCases()),
                         [](const auto& info) { return "line" + std::to_string(info.param.line); });

TEST(ParseCaseFile, IsReadAndCoversEveryFunction) {
    std::vector<Case> cases = LoadCases();
    ASSERT_GT(cases.size(), 100u);
    for (const char* tag : {"=>", "=>script", "=>expr", "=>params", "!!", "!!script", "!!expr"}) {
        EXPECT_TRUE(std::any_of(cases.begin(), cases.end(), [&](const Case& c) {
            return c.tag == tag;
        })) << tag;
    }
}

}  // namespace
}  // namespace engine::sql
