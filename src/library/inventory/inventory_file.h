// A portable reader's file taken by the stock check: the format of the
// desk's stored scans (exchange/scan_file.h: one scan a line, an optional
// "yyyy/mm/dd hh:nn:ss" and a tab before it). Each line is scanned as the
// window scans a typed number; an ISBN of several copies checks the first
// copy not yet checked, since no operator is there to ask.
//
// The scans are written in transactions of kScansPerTransaction lines, so
// that a long file costs few flushes; a failure rolls back only the batch
// it happened in (the batches before stay checked) and throws. A batch that
// meets another reader's lock is rolled back and tried again by the desk's
// lock rule (its count of tries, its wait between them).
//
// A file is known by its content (kx_inventory_files): each batch records
// how many lines of it are taken, in the batch's own transaction. Taken
// again in the same check, a file taken whole is refused (FileTakenBefore)
// unless `again`; one cut short (a killed reader, a lost connection) goes
// on after the last stored batch.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/scan_file.h"
#include "library/inventory/inventory.h"

namespace kashidashi::library {

inline constexpr size_t kScansPerTransaction = 250;

struct FileScan {
    exchange::ScanLine line;
    ScanResult result;
};

struct FileTakenBefore : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct FileRun {
    std::vector<FileScan> scans;  // the lines taken now
    size_t skipped = 0;           // lines taken by an earlier run cut short
};

// Takes the text of a reader's file (decoded) into the running check.
// `progress(done, total)` after each batch, if given.
FileRun ScanReaderFile(engine::storage::Connection& connection, const std::string& text,
                       bool again = false,
                       const std::function<void(size_t, size_t)>& progress = {});

// The lines alone, with no record of the file (the window's typed scans
// use ScanText; this is the batch rule shared with ScanReaderFile).
std::vector<FileScan> ScanReaderLines(engine::storage::Connection& connection,
                                      const std::vector<exchange::ScanLine>& lines,
                                      const std::function<void(size_t, size_t)>& progress = {});

// The counts of a file's answers, for the closing line of a command or window.
struct FileSummary {
    int checked = 0, already = 0, onLoan = 0, discarded = 0, unknown = 0, several = 0,
        unreadable = 0;
};
FileSummary Summarise(const std::vector<FileScan>& scans);
std::string SummaryText(const FileSummary& summary);

}  // namespace kashidashi::library
