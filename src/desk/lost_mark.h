// The 不明 mark that a finished stock check leaves on a book it did not
// find (the table kx_lost beside the data tables). A book that comes back
// to the desk is found: its mark goes, and the desk says so.
#pragma once

#include <cstdint>

namespace kashidashi::desk {

inline constexpr const char* kLostMarkTable = "kx_lost";
inline constexpr const char* kLostMarkFound =
    "この図書は蔵書点検で不明になっていました。見つかったので不明の記録を消しました。";

// Takes the mark off `bookId` in the data database; true when it had one.
// A folder where no check has left marks has nothing to take off.
bool ClearLostMark(int64_t bookId);

}  // namespace kashidashi::desk
