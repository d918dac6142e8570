// The new year's class list read and checked line by line (rollover.h):
// the encoding, import-users' own rules, then the rules of a class list.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/schema.h"
#include "library/rollover.h"
#include "tools/table_cells.h"

namespace kashidashi::library {

struct ListedUser {
    int line = 0;
    std::string nameId, pupilNo, name;
    int64_t classCode = 0;
    admin::Cells cells;  // every column the file names, converted
};

struct RolloverInput {
    std::vector<ListedUser> users;
    std::vector<RolloverProblem> problems;  // in line order
};

// `nameTable` is Name's layout; `classes` SYOZOKU's codes.
RolloverInput ReadRolloverList(std::string_view bytes,
                               const engine::storage::TableSchema& nameTable,
                               const std::map<int64_t, std::string>& classes);

// The lines of bytes that are neither UTF-8 nor Shift-JIS: none for a file
// that is UTF-8 as a whole; for any other, each line holding a NUL byte
// (UTF-16) or a byte that no Shift-JIS character has.
std::vector<int> UnreadableLines(std::string_view bytes);

}  // namespace kashidashi::library
