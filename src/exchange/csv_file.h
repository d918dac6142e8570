// Reading CSV files: the encoding, and records with the line they start on.
//
// Encoding: a file that is well-formed UTF-8 (with or without a byte order
// mark) is UTF-8; any other file is Shift-JIS as Windows writes it (CP932).
//
// Records: fields are separated by commas and records by line breaks (LF,
// CRLF or CR). A field in double quotes may hold commas and line breaks, and
// "" stands for one quote inside it. Empty lines are skipped. A quote that
// is never closed, or text after a closing quote, is an error of the line
// the record starts on; reading stops there.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kashidashi::exchange {

// The text of the file's bytes in UTF-8, without a byte order mark.
std::string DecodeCsvBytes(std::string_view bytes);

// The text of the file at `path`, decoded as above. Throws FileError
// (file_bytes.h) when the file cannot be opened or read.
std::string ReadFileText(const std::string& path);

struct CsvRecord {
    int line = 0;  // 1 for the first line of the file
    std::vector<std::string> fields;
};

struct CsvError {
    int line = 0;
    std::string reason;
};

struct CsvText {
    std::vector<CsvRecord> records;
    std::optional<CsvError> error;  // the records read before it are kept
};

CsvText ParseCsv(std::string_view utf8);

}  // namespace kashidashi::exchange
