// The new year's class lists read and checked line by line (rollover.h):
// the encoding, import-users' own rules, then the rules of a class list,
// and across the files the numbers given twice.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/schema.h"
#include "exchange/table_cells.h"
#include "library/year/rollover.h"

namespace kashidashi::library {

struct ListedUser {
    std::string file;  // empty when only one list is read
    int line = 0;
    std::string nameId, pupilNo, name;
    int64_t classCode = 0;
    exchange::Cells cells;  // every column the file names, converted
};

struct RolloverInput {
    std::vector<ListedUser> users;
    std::vector<RolloverProblem> problems;  // in file and line order
};

// `nameTable` is Name's layout. Files are named in problems only when there
// are several.
RolloverInput ReadRolloverLists(const std::vector<RolloverFile>& files,
                                const engine::storage::TableSchema& nameTable);

// The lines of bytes that are neither UTF-8 nor Shift-JIS: none for a file
// that is UTF-8 as a whole; for any other, each line holding a NUL byte
// or a byte that no Shift-JIS character has.
std::vector<int> UnreadableLines(std::string_view bytes);

// Whether the bytes look like UTF-16 (a byte order mark, or NUL bytes).
bool LooksUtf16(std::string_view bytes);

// The text with full-width digits (０-９) as ASCII digits.
std::string HalfWidthDigits(std::string_view text);

// The first character of the text that code page 932 cannot hold; empty
// when it holds them all.
std::string FirstCharacterCp932Lacks(std::string_view utf8);

}  // namespace kashidashi::library
