#include "exchange/cell_convert.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/common/dates.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "platform/half_width.h"

namespace kashidashi::exchange {
namespace {

using engine::FieldType;
using engine::Value;

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

CellValue Fail(const std::string& column, std::string_view text, const std::string& what) {
    return {Value(), CellError(column, text, what)};
}

CellValue ToInteger(const std::string& column, const std::string& text, int64_t low, int64_t high) {
    std::string_view digits = text;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    int64_t n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec == std::errc::result_out_of_range ||
        (ec == std::errc() && end == digits.data() + digits.size() && (n < low || n > high)))
        return Fail(column, text,
                    "範囲外です（" + std::to_string(low) + "～" + std::to_string(high) + "）");
    if (ec != std::errc() || end != digits.data() + digits.size())
        return Fail(column, text, "整数ではありません");
    return {Value(n), {}};
}

CellValue ToNumber(const std::string& column, const std::string& text) {
    std::string plain;
    for (char c : text) {
        if (c != ',') plain += c;
    }
    char* end = nullptr;
    double d = std::strtod(plain.c_str(), &end);
    if (plain.empty() || *end != '\0' || !std::isfinite(d))
        return Fail(column, text, "数値ではありません");
    return {Value(d), {}};
}

CellValue ToBoolean(const std::string& column, const std::string& text) {
    if (engine::SameName(text, "true") || text == "1") return {Value(true), {}};
    if (engine::SameName(text, "false") || text == "0") return {Value(false), {}};
    return Fail(column, text, "True、False、1、0 のどれでもありません");
}

CellValue ToDate(const std::string& column, const std::string& text, bool withTime) {
    if (!withTime) {
        if (auto date = engine::ParseDate(text)) return {Value(*date), {}};
        return Fail(column, text, "日付ではありません（yyyy/mm/dd の形で書いてください）");
    }
    if (auto moment = engine::ParseDateTime(text)) return {Value(*moment), {}};
    return Fail(column, text, "日時ではありません（yyyy/mm/dd hh:nn:ss の形で書いてください）");
}

CellValue ToScalar(const engine::storage::ColumnDef& column, const std::string& text) {
    switch (column.type.type) {
        case FieldType::Smallint:
            return ToInteger(column.name, text, INT16_MIN, INT16_MAX);
        case FieldType::Integer:
        case FieldType::AutoInc:
            return ToInteger(column.name, text, INT32_MIN, INT32_MAX);
        case FieldType::Float:
        case FieldType::Currency:
            return ToNumber(column.name, text);
        case FieldType::Boolean:
            return ToBoolean(column.name, text);
        case FieldType::Date:
            return ToDate(column.name, text, false);
        case FieldType::DateTime:
            return ToDate(column.name, text, true);
        default:
            return {Value(text), {}};
    }
}

}  // namespace

std::string CellError(const std::string& column, std::string_view text, const std::string& what) {
    return "列 " + column + " の「" + std::string(text) + "」は" + what;
}

CellValue ConvertCell(const engine::storage::ColumnDef& column, std::string_view text) {
    if (engine::IsTextType(column.type.type))
        return {
            engine::StoredText(text, column.type.type == FieldType::Memo ? 0 : column.type.size),
            {}};
    std::string plain = Trimmed(platform::ToHalfWidthText(text));
    if (plain.empty()) return {Value(), {}};
    return ToScalar(column, plain);
}

}  // namespace kashidashi::exchange
