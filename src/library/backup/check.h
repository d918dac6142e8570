// The consistency check of a school's data: what the storage itself says,
// then whether the flags and counts agree with the loans.
//
// Findings, one text each, every one naming the rows it concerns and
// beginning with its kind in brackets:
//   [記憶域]           the storage's own check (SQLite's integrity_check of a
//                      folder's or backup file's database; on a server, a data
//                      table that cannot be read)
//   [二重貸出]         a book with more than one open loan
//   [貸出フラグ]       Book.kashidashiF differing from the book's open loans
//   [未返却数]         Name.mihenkyakuSU differing from the user's open loans
//   [貸出の図書なし] [貸出の利用者なし]   an open loan of a missing book or user
//   [予約の図書なし] [予約の利用者なし]   a reservation of a missing book or user
//
// A write that was interrupted (a desk that lost power, a killed restore)
// left its journal beside a folder's database: the check first rolls it
// back, as the next writer would, under the same locks, and says so in
// `notes`. A backup file is first checked against its checksum.
//
// Without a repair the check reads in one snapshot (on a folder, desks'
// commits wait for its reading, as for any reader; on a server nobody
// waits). With a repair it holds Book, Name, kashibo and yoyaku for its own
// (refused while a desk uses one), sets every differing flag and count from
// the loans in one transaction, and says what it changed; it never deletes a
// loan or a reservation. A backup file is checked but never repaired.
#pragma once

#include <string>
#include <vector>

#include "library/data_place.h"

namespace kashidashi::library {

struct CheckReport {
    // Said before the findings: an interrupted write rolled back first.
    std::vector<std::string> notes;
    std::vector<std::string> findings;
    std::vector<std::string> repairs;  // what a repair changed, one text each
    // What remains after the repair: the findings a repair does not mend.
    std::vector<std::string> remaining;
    bool Clean() const { return remaining.empty(); }
};

// Throws std::runtime_error or EngineError when the place cannot be reached
// at all (a missing folder, a server that does not answer) or a repair is
// refused; damage of the storage is a finding.
CheckReport CheckPlace(const DataPlace& place, bool repair);

}  // namespace kashidashi::library
