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

#include <ostream>
#include <vector>

#include "exchange/scan_file.h"

namespace kashidashi::desk {

// Replays the scans of a reader's file (exchange/scan_file.h); true when every scan was taken (no
// message refused one and no picked book was left unlent at the end).
bool ReplayScans(const std::vector<exchange::ScanLine>& scans, std::ostream& out);

}  // namespace kashidashi::desk
