// The storage rules of values, in one place: what a value becomes when it is
// stored in a column, and the text form of a stored value.
//
// Stored text is cut to the column size in code page 932 bytes (never in the
// middle of a double-byte character), loses its trailing ASCII blanks, and is
// NULL when nothing remains; a character CP932 cannot hold becomes "?". A
// full-width blank is an ordinary character. An empty text given to a number,
// Boolean or date column makes it NULL; a text that does not convert is a
// DataSetError naming the field.
#pragma once

#include <string>
#include <string_view>

#include "engine/common/field_type.h"
#include "engine/common/value.h"

namespace engine {

Value ToColumnValue(const Value& value, const ColumnType& type, std::string_view fieldName);

// The text form of a value: "" for NULL, decimal digits, "True"/"False",
// yyyy/mm/dd, yyyy/mm/dd hh:nn:ss.
std::string ValueText(const Value& value);

// The stored form of a text, for a column of `size` bytes (0: no limit).
Value StoredText(std::string_view text, int size);

// A number written the shortest way that reads back the same.
std::string FloatText(double value);

}  // namespace engine
