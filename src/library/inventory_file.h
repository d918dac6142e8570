// A portable reader's file taken by the stock check: the format of the
// desk's stored scans (desk/scan_replay.h: one scan a line, an optional
// "yyyy/mm/dd hh:nn:ss" and a tab before it). Each line is scanned as the
// window scans a typed number; an ISBN of several copies checks the first
// copy not yet checked, since no operator is there to ask.
//
// The scans are written in transactions of kScansPerTransaction lines, so
// that a long file costs few flushes; a failure rolls back only the batch
// it happened in (the batches before stay checked) and throws.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "desk/scan_replay.h"
#include "library/inventory.h"

namespace kashidashi::library {

inline constexpr size_t kScansPerTransaction = 250;

struct FileScan {
    desk::ScanLine line;
    ScanResult result;
};

// `progress(done, total)` after each batch, if given.
std::vector<FileScan> ScanReaderLines(engine::storage::Connection& connection,
                                      const std::vector<desk::ScanLine>& lines,
                                      const std::function<void(size_t, size_t)>& progress = {});

// The counts of a file's answers, for the closing line of a command or window.
struct FileSummary {
    int checked = 0, already = 0, onLoan = 0, discarded = 0, unknown = 0, unreadable = 0;
};
FileSummary Summarise(const std::vector<FileScan>& scans);
std::string SummaryText(const FileSummary& summary);

}  // namespace kashidashi::library
