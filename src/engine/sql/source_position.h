// Positions in a statement's text, for error messages.
//
// The parser and the binder report where a statement goes wrong as
// "line L, column C": lines and columns count from 1, a line ends at LF, CR
// or CR LF, and a column counts characters (UTF-8 sequences), not bytes.
// ThrowSqlError raises the engine's SQL error (code 11949) with that place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine::sql {

struct SourcePosition {
    int line = 1;
    int column = 1;
};

// The line and column of a byte offset; an offset past the end gives the
// position just after the last character.
SourcePosition Locate(std::string_view text, size_t offset);

// "line 2, column 7".
std::string DescribePosition(std::string_view text, size_t offset);

// A text as an error message quotes it: at most 40 bytes, cut before a
// UTF-8 sequence rather than through it, with "..." when cut.
std::string Excerpt(std::string_view text);

// Throws EngineError 11949 "SQL error - <what> at line L, column C", followed
// by "; <detail>" when a detail is given.
[[noreturn]] void ThrowSqlError(std::string_view text, size_t offset, std::string_view what,
                                std::string_view detail = {});

}  // namespace engine::sql
