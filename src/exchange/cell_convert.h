// One CSV field turned into the value of its column, or the reason it cannot
// be (in Japanese, naming the column and the text).
//
// Every type: an empty field (or one of ASCII blanks) is NULL. Full-width
// digits and signs count as their ASCII forms in numbers, dates and Boolean
// values.
//   INTEGER, SMALLINT   whole numbers within the type's range
//   FLOAT, MONEY        decimal numbers; commas between digits are ignored
//   BOOLEAN             True, False, 1 or 0, any case
//   DATE                yyyy/mm/dd (also yyyy-mm-dd)
//   TIMESTAMP           a date, optionally with hh:nn[:ss]
//   texts               kept as the storage rules keep them: cut to the
//                       column size in CP932 bytes, trailing blanks dropped
#pragma once

#include <string>
#include <string_view>

#include "engine/common/value.h"
#include "engine/storage/schema.h"

namespace kashidashi::exchange {

struct CellValue {
    engine::Value value;
    std::string error;  // empty when the value is good
    bool ok() const { return error.empty(); }
};

CellValue ConvertCell(const engine::storage::ColumnDef& column, std::string_view text);

// The reason text for a field of `column` holding `text`:
// "列 <column> の「<text>」は<what>".
std::string CellError(const std::string& column, std::string_view text, const std::string& what);

}  // namespace kashidashi::exchange
