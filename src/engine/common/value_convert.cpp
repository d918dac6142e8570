#include "engine/common/value_convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/common/names.h"
#include "platform/cp932.h"

namespace engine {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

Value ToInteger(const Value& v, std::string_view field) {
    if (v.IsInteger()) return v;
    if (v.IsFloat()) return Value(static_cast<int64_t>(std::llround(v.Float())));
    if (v.IsBool()) return Value(int64_t{v.Bool() ? 1 : 0});
    std::string text = ValueText(v);
    auto digits = TrimBlanks(text);
    if (digits.empty()) return Value();
    int64_t n = 0;
    if (digits.front() == '+') digits.remove_prefix(1);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size() || n > INT32_MAX || n < INT32_MIN)
        throw DataSetError::NotAnInteger(text, field);
    return Value(n);
}

Value ToFloat(const Value& v, std::string_view field) {
    if (v.IsFloat()) return v;
    if (v.IsInteger()) return Value(static_cast<double>(v.Integer()));
    std::string text = ValueText(v);
    std::string digits(TrimBlanks(text));
    if (digits.empty()) return Value();
    char* end = nullptr;
    double d = std::strtod(digits.c_str(), &end);
    if (*end != '\0' || !std::isfinite(d)) throw DataSetError::NotANumber(text, field);
    return Value(d);
}

Value ToBoolean(const Value& v) {
    if (v.IsBool()) return v;
    if (v.IsInteger()) return Value(v.Integer() != 0);
    std::string text(TrimBlanks(ValueText(v)));
    if (text.empty()) return Value();
    if (SameName(text, "true") || text == "1") return Value(true);
    if (SameName(text, "false") || text == "0") return Value(false);
    throw DataSetError("'" + text + "' は正しいブール値ではありません");
}

Value ToDate(const Value& v) {
    if (v.IsDate()) return v;
    if (v.IsDateTime()) return Value(DatePart(v.DateTimeValue()));
    std::string text(TrimBlanks(ValueText(v)));
    if (text.empty()) return Value();
    if (auto d = ParseDateTime(text)) return Value(DatePart(*d));
    throw DataSetError::NotADate(text);
}

Value ToDateTime(const Value& v) {
    if (v.IsDateTime()) return v;
    if (v.IsDate()) return Value(MakeDateTime(v.DateValue()));
    std::string text(TrimBlanks(ValueText(v)));
    if (text.empty()) return Value();
    if (auto d = ParseDateTime(text)) return Value(*d);
    throw DataSetError::NotADate(text);
}

}  // namespace

Value StoredText(std::string_view text, int size) {
    std::string stored = platform::NormaliseToCp932(std::string(text));
    if (size > 0) stored = platform::Cp932Cut(stored, static_cast<size_t>(size));
    while (!stored.empty() && stored.back() == ' ') stored.pop_back();
    return stored.empty() ? Value() : Value(std::move(stored));
}

Value ToColumnValue(const Value& value, const ColumnType& type, std::string_view fieldName) {
    if (value.IsNull()) return value;
    switch (type.type) {
        case FieldType::Integer:
        case FieldType::Smallint:
        case FieldType::AutoInc:
            return ToInteger(value, fieldName);
        case FieldType::Float:
        case FieldType::Currency:
            return ToFloat(value, fieldName);
        case FieldType::Boolean:
            return ToBoolean(value);
        case FieldType::Date:
            return ToDate(value);
        case FieldType::DateTime:
            return ToDateTime(value);
        case FieldType::String:
            return StoredText(ValueText(value), type.size);
        case FieldType::Memo:
            return StoredText(ValueText(value), 0);
    }
    return value;
}

std::string FloatText(double value) {
    char text[32];
    // A whole number reads as its digits: 1500, never 1.5e+03.
    if (std::trunc(value) == value && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

std::string ValueText(const Value& value) {
    if (value.IsNull()) return "";
    if (value.IsInteger()) return std::to_string(value.Integer());
    if (value.IsFloat()) return FloatText(value.Float());
    if (value.IsBool()) return value.Bool() ? "True" : "False";
    if (value.IsDate()) return FormatDate(value.DateValue());
    if (value.IsDateTime()) return FormatDateTime(value.DateTimeValue());
    return value.Text();
}

}  // namespace engine
