#include "engine/storage/sqlite/type_codec.h"

#include <map>

#include "engine/common/names.h"

namespace engine::storage::sqlite {

std::string DeclaredType(const ColumnType& type) {
    switch (type.type) {
        case FieldType::Integer:
            return "INTEGER";
        case FieldType::Smallint:
            return "SMALLINT";
        case FieldType::AutoInc:
            return "AUTOINC_INT";
        case FieldType::Float:
            return "FLOAT";
        case FieldType::Currency:
            return "MONEY_REAL";
        case FieldType::Boolean:
            return "BOOLEAN_INT";
        case FieldType::Date:
            return "DATE_INT";
        case FieldType::DateTime:
            return "TIMESTAMP_INT";
        case FieldType::String:
            return "CHAR(" + std::to_string(type.size) + ")";
        case FieldType::Memo:
            return "MEMO_TEXT";
    }
    return "INTEGER";
}

std::optional<ColumnType> ParseDeclaredType(const std::string& declared) {
    static const std::map<std::string, FieldType> plain = {
        {"integer", FieldType::Integer},     {"smallint", FieldType::Smallint},
        {"autoinc_int", FieldType::AutoInc}, {"float", FieldType::Float},
        {"money_real", FieldType::Currency}, {"boolean_int", FieldType::Boolean},
        {"date_int", FieldType::Date},       {"timestamp_int", FieldType::DateTime},
        {"memo_text", FieldType::Memo},
    };
    auto lower = LowerName(declared);
    if (auto it = plain.find(lower); it != plain.end()) return ColumnType{it->second, 0};
    if (lower.rfind("char(", 0) == 0 && lower.back() == ')') {
        int size = std::atoi(lower.c_str() + 5);
        if (size > 0) return ColumnType{FieldType::String, size};
    }
    return std::nullopt;
}

}  // namespace engine::storage::sqlite
