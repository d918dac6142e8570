// A portable reader's file: the scans it stored, one a line, each
// optionally preceded by the reader's time stamp "yyyy/mm/dd hh:nn:ss" and a
// tab. The desk replays such a file (desk/scan_replay.h), the stock check
// takes it (library/inventory/inventory_file.h), and a list of books for labels may be
// one.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"

namespace kashidashi::exchange {

struct ScanLine {
    int number = 0;                      // line number in the file, from 1
    std::optional<engine::DateTime> at;  // the reader's time stamp, if any
    std::string scan;
};

// The scans of a file's text (UTF-8), blanks around each part trimmed;
// empty lines are skipped.
std::vector<ScanLine> ParseScanFile(std::string_view text);

// The text of a reader's file in UTF-8: well-formed UTF-8 (a byte order
// mark dropped), else Shift-JIS as Windows writes it. A file that is not
// text (a NUL or another control byte than tab, line breaks and the end of
// file mark: an image, random bytes) throws NotAReaderFile: none of it is
// taken.
struct NotAReaderFile : std::runtime_error {
    using std::runtime_error::runtime_error;
};
std::string DecodeReaderFile(std::string_view bytes);
// The same for a file on disk; a file that cannot be read throws FileError
// (file_bytes.h).
std::string ReadReaderFile(const std::string& path);

}  // namespace kashidashi::exchange
