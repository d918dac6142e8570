#include "engine/common/field_type.h"

namespace engine {

std::string TypeName(const ColumnType& t) {
    switch (t.type) {
        case FieldType::Integer:
            return "INTEGER";
        case FieldType::Smallint:
            return "SMALLINT";
        case FieldType::AutoInc:
            return "AUTOINC";
        case FieldType::Float:
            return "FLOAT";
        case FieldType::Currency:
            return "MONEY";
        case FieldType::Boolean:
            return "BOOLEAN";
        case FieldType::Date:
            return "DATE";
        case FieldType::DateTime:
            return "TIMESTAMP";
        case FieldType::String:
            return "CHAR(" + std::to_string(t.size) + ")";
        case FieldType::Memo:
            return "MEMO";
    }
    return "INTEGER";
}

bool IsTextType(FieldType t) {
    return t == FieldType::String || t == FieldType::Memo;
}

bool IsIntegerType(FieldType t) {
    return t == FieldType::Integer || t == FieldType::Smallint || t == FieldType::AutoInc;
}

bool IsNumericType(FieldType t) {
    return IsIntegerType(t) || t == FieldType::Float || t == FieldType::Currency;
}

}  // namespace engine
