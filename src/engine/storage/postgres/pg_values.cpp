#include "engine/storage/postgres/pg_values.h"

#include <charconv>
#include <cstdio>
#include <map>

#include "engine/common/dates.h"

namespace engine::storage::postgres {
namespace {

std::string DateText(Date date) {
    CivilDate c = ToCivil(date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

std::string DateTimeText(DateTime moment) {
    Date date = DatePart(moment);
    int64_t ms = moment.msecs - int64_t{date.days} * kMsecsPerDay;
    char text[24];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d.%03d", static_cast<int>(ms / 3'600'000),
                  static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    return DateText(date) + text;
}

int64_t Integer(std::string_view text) {
    int64_t n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

// "yyyy-mm-dd", as the server writes a date in the ISO style.
Date ReadDate(std::string_view text) {
    return MakeDate(static_cast<int>(Integer(text.substr(0, 4))),
                    static_cast<int>(Integer(text.substr(5, 2))),
                    static_cast<int>(Integer(text.substr(8, 2))));
}

// "yyyy-mm-dd hh:mm:ss[.fff]".
DateTime ReadDateTime(std::string_view text) {
    auto part = [&](size_t at) { return static_cast<int>(Integer(text.substr(at, 2))); };
    int msec = 0;
    if (text.size() > 20) {
        std::string digits(text.substr(20, 3));
        digits.resize(3, '0');
        msec = static_cast<int>(Integer(digits));
    }
    return MakeDateTime(ReadDate(text), part(11), part(14), part(17), msec);
}

}  // namespace

std::string WireText(const Value& value) {
    if (value.IsInteger()) return std::to_string(value.Integer());
    if (value.IsBool()) return value.Bool() ? "true" : "false";
    if (value.IsDate()) return DateText(value.DateValue());
    if (value.IsDateTime()) return DateTimeText(value.DateTimeValue());
    if (value.IsText()) return value.Text();
    if (!value.IsFloat()) return "";
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, value.Float()).ptr;
    return std::string(text, end);
}

Value ReadValue(std::string_view text, const ColumnType& type) {
    switch (type.type) {
        case FieldType::Integer:
        case FieldType::Smallint:
        case FieldType::AutoInc:
            return Value(Integer(text));
        case FieldType::Float:
        case FieldType::Currency: {
            double d = 0;
            std::from_chars(text.data(), text.data() + text.size(), d);
            return Value(d);
        }
        case FieldType::Boolean:
            return Value(text == "t");
        case FieldType::Date:
            return Value(ReadDate(text));
        case FieldType::DateTime:
            return Value(ReadDateTime(text));
        case FieldType::String:
        case FieldType::Memo:
            return Value(std::string(text));
    }
    return Value();
}

std::string DeclaredType(const ColumnType& type) {
    switch (type.type) {
        case FieldType::Integer:
        case FieldType::AutoInc:
            return "integer";
        case FieldType::Smallint:
            return "smallint";
        case FieldType::Float:
        case FieldType::Currency:
            return "double precision";
        case FieldType::Boolean:
            return "boolean";
        case FieldType::Date:
            return "date";
        case FieldType::DateTime:
            return "timestamp(3)";
        case FieldType::String:
            return "varchar(" + std::to_string(type.size) + ") COLLATE \"C\"";
        case FieldType::Memo:
            return "text COLLATE \"C\"";
    }
    return "integer";
}

std::string TypeComment(const ColumnType& type) {
    if (type.type == FieldType::AutoInc) return "AUTOINC";
    if (type.type == FieldType::Currency) return "MONEY";
    return "";
}

std::optional<ColumnType> ParseDeclaredType(const std::string& declared,
                                            const std::string& comment) {
    static const std::map<std::string, FieldType> plain = {
        {"integer", FieldType::Integer},
        {"smallint", FieldType::Smallint},
        {"double precision", FieldType::Float},
        {"boolean", FieldType::Boolean},
        {"date", FieldType::Date},
        {"timestamp(3) without time zone", FieldType::DateTime},
        {"text", FieldType::Memo},
    };
    if (auto it = plain.find(declared); it != plain.end()) {
        FieldType type = it->second;
        if (type == FieldType::Integer && comment == "AUTOINC") type = FieldType::AutoInc;
        if (type == FieldType::Float && comment == "MONEY") type = FieldType::Currency;
        return ColumnType{type, 0};
    }
    const std::string prefix = "character varying(";
    if (declared.rfind(prefix, 0) == 0) {
        int size = std::atoi(declared.c_str() + prefix.size());
        if (size > 0) return ColumnType{FieldType::String, size};
    }
    return std::nullopt;
}

}  // namespace engine::storage::postgres
