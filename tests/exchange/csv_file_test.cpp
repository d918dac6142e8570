// CSV records with the lines they start on, and the encoding of the bytes.
#include "exchange/csv_file.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace exchange_test {
namespace {

using kashidashi::exchange::CsvRecord;
using kashidashi::exchange::DecodeCsvBytes;
using kashidashi::exchange::ParseCsv;

using Records = std::vector<std::pair<int, std::vector<std::string>>>;

Records Flatten(const std::vector<CsvRecord>& records) {
    Records flat;
    for (const auto& record : records) flat.emplace_back(record.line, record.fields);
    return flat;
}

TEST(CsvReader, RecordsAndTheirLines) {
    const struct {
        std::string text;
        Records records;
    } kCases[] = {
        {"a,b\n1,2\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"a,b\r\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
        {"a\r\r\nb\n\n\nc", {{1, {"a"}}, {3, {"b"}}, {6, {"c"}}}},
        {"a,,\n", {{1, {"a", "", ""}}}},
        {"\"x,y\",\"say \"\"hi\"\"\"\n", {{1, {"x,y", "say \"hi\""}}}},
        {"\"two\r\nlines\",z\nnext\n", {{1, {"two\nlines", "z"}}, {3, {"next"}}}},
        {"\"\",a b \n", {{1, {"", "a b "}}}},
        {"", {}},
    };
    for (const auto& c : kCases) {
        auto csv = ParseCsv(c.text);
        EXPECT_FALSE(csv.error) << c.text;
        EXPECT_EQ(Flatten(csv.records), c.records) << c.text;
    }
}

TEST(CsvReader, MalformedQuotesStopAtTheRecordsLine) {
    const struct {
        std::string text;
        int line;
        size_t kept;
    } kCases[] = {
        {"a\n\"open\nstill open\n", 2, 1},
        {"a\nb\n\"x\"y,z\n", 3, 2},
    };
    for (const auto& c : kCases) {
        auto csv = ParseCsv(c.text);
        ASSERT_TRUE(csv.error) << c.text;
        EXPECT_EQ(csv.error->line, c.line) << c.text;
        EXPECT_EQ(csv.records.size(), c.kept) << c.text;
    }
}

TEST(CsvReader, EncodingIsUtf8WhenWellFormedElseShiftJis) {
    const std::string text = "書名,ソフト";
    const struct {
        std::string bytes;
        std::string expected;
    } kCases[] = {
        {text, text},
        {"\xEF\xBB\xBF" + text, text},
        {platform::ToCp932(text), text},
        {"plain,ascii", "plain,ascii"},
    };
    for (const auto& c : kCases) EXPECT_EQ(DecodeCsvBytes(c.bytes), c.expected);
}

}  // namespace
}  // namespace exchange_test
