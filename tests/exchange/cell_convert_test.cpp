// A CSV field turned into its column's value, or a reason.
#include "exchange/cell_convert.h"

#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "engine/common/value_convert.h"
#include "exchange/isbn_rule.h"

namespace exchange_test {
namespace {

using engine::FieldType;
using kashidashi::exchange::ConvertCell;

TEST(CellConvert, ValuesByColumnType) {
    const struct {
        FieldType type;
        int size;
        std::string text;
        std::string stored;  // text form of the value; "" for NULL
    } kCases[] = {
        {FieldType::Integer, 0, " 42 ", "42"},
        {FieldType::Integer, 0, "-7", "-7"},
        {FieldType::Integer, 0, "１２３", "123"},
        {FieldType::Integer, 0, "", ""},
        {FieldType::Smallint, 0, "32767", "32767"},
        {FieldType::Currency, 0, "1,540", "1540"},
        {FieldType::Float, 0, "913.6", "913.6"},
        {FieldType::Boolean, 0, "TRUE", "True"},
        {FieldType::Boolean, 0, "0", "False"},
        {FieldType::Date, 0, "2024/4/2", "2024/04/02"},
        {FieldType::Date, 0, "2024-04-02", "2024/04/02"},
        {FieldType::DateTime, 0, "2024/04/02 09:30", "2024/04/02 09:30:00"},
        {FieldType::String, 6, "山田花子", "山田花"},  // cut at 6 bytes
        {FieldType::String, 10, "abc   ", "abc"},
        {FieldType::Memo, 0, "長い\n紹介", "長い\n紹介"},
    };
    for (const auto& c : kCases) {
        auto cell = ConvertCell({"col", {c.type, c.size}}, c.text);
        EXPECT_TRUE(cell.ok()) << c.text << ": " << cell.error;
        EXPECT_EQ(engine::ValueText(cell.value), c.stored) << c.text;
    }
}

TEST(CellConvert, ReasonsNameTheColumnAndTheText) {
    const struct {
        FieldType type;
        std::string text;
        std::string reason;
    } kCases[] = {
        {FieldType::Integer, "12a", "列 col の「12a」は整数ではありません"},
        {FieldType::Integer, "3000000000", "列 col の「3000000000」は範囲外です"},
        {FieldType::Smallint, "40000", "列 col の「40000」は範囲外です（-32768～32767）"},
        {FieldType::Currency, "千円", "列 col の「千円」は数値ではありません"},
        {FieldType::Boolean, "yes", "列 col の「yes」はTrue、False、1、0 のどれでもありません"},
        {FieldType::Date, "2024/02/30", "列 col の「2024/02/30」は日付ではありません"},
        {FieldType::Date, "令和6年", "列 col の「令和6年」は日付ではありません"},
    };
    for (const auto& c : kCases) {
        auto cell = ConvertCell({"col", {c.type, 0}}, c.text);
        EXPECT_FALSE(cell.ok()) << c.text;
        EXPECT_TRUE(cell.error.starts_with(c.reason)) << cell.error;
    }
}

TEST(IsbnRule, TwelveDigitsOrThirteenWithTheRightCheckDigit) {
    const struct {
        std::string text;
        std::string stored;  // "" when rejected
    } kCases[] = {
        {"978481200001", "978481200001"},
        {"9784812000014", "978481200001"},
        {"978-4-8120-0001-4", "978481200001"},
        {"９７８４８１２００００１", "978481200001"},
        {"9784812000015", ""},
        {"97848120", ""},
        {"4-8120-0001-X", ""},
    };
    for (const auto& c : kCases) {
        auto cell = kashidashi::exchange::IsbnCell("ISBN", c.text);
        EXPECT_EQ(cell.ok(), !c.stored.empty()) << c.text << ": " << cell.error;
        if (cell.ok()) {
            EXPECT_EQ(engine::ValueText(cell.value), c.stored) << c.text;
        }
    }
    EXPECT_TRUE(kashidashi::exchange::IsbnCell("ISBN", "").value.IsNull());
}

}  // namespace
}  // namespace exchange_test
