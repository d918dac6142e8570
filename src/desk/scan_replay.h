// The replay of a portable reader's stored scans through the desk's own
// rules and operations, as if each scan were typed into the field that has
// the focus: a user card, books, ACTION; RETURN and LENDING switch the tab.
//
// The replay starts like a newly opened desk (lending tab, no user), holds
// the pick list like a desk (so it is refused while a desk runs from the same
// program folder), and has no operator: questions are answered No, a book
// someone else reserved first is not picked, an ISBN return with several
// holders is not carried out, no confirmation is shown, and the reservations
// waiting for a returned title are listed instead of shown in a window.
//
// Each scan gives one output line "<line>\t<scan>\t<what the desk showed or
// did>". The data module must be set up (settings database and data
// database) before a replay runs; it installs its own Dialogs responder for
// its run and removes it afterwards.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"

namespace kashidashi::desk {

struct ScanLine {
    int number = 0;                      // line number in the file, from 1
    std::optional<engine::DateTime> at;  // the reader's time stamp, if any
    std::string scan;
};

// The scans of a file's text (UTF-8): one per line, optionally preceded by
// "yyyy/mm/dd hh:nn:ss" and a tab; empty lines are skipped.
std::vector<ScanLine> ParseScanFile(std::string_view text);

// Replays the scans; true when every scan was taken (no message refused one
// and no picked book was left unlent at the end).
bool ReplayScans(const std::vector<ScanLine>& scans, std::ostream& out);

}  // namespace kashidashi::desk
