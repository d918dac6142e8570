// The column types of the engine's tables and the field kinds that read them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

enum class FieldType {
    Integer,   // INTEGER: 32-bit signed
    Smallint,  // SMALLINT: 16-bit signed
    AutoInc,   // AUTOINC: assigned by the engine, increasing, on insert
    Float,     // FLOAT: double precision
    Currency,  // MONEY: double precision shown as an amount
    Boolean,   // BOOLEAN
    Date,      // DATE: calendar date
    DateTime,  // TIMESTAMP: date and time of day
    String,    // CHARACTER(n), CHAR(n), VARCHAR(n): at most n CP932 bytes
    Memo,      // MEMO: text of any length
};

// A column as the dialect declares it: type and, for texts, the size in bytes.
struct ColumnType {
    FieldType type = FieldType::Integer;
    int size = 0;  // bytes for String, 0 otherwise
    bool operator==(const ColumnType&) const = default;
};

// The dialect's name of a type, as CREATE TABLE would write it ("CHAR(60)").
std::string TypeName(const ColumnType& t);

bool IsTextType(FieldType t);
bool IsIntegerType(FieldType t);  // Integer, Smallint, AutoInc
bool IsNumericType(FieldType t);  // the integers, Float, Currency

}  // namespace engine
