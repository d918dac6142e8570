// The fixed PIN values of the desk, in one place.
//
// head.PM5 holds the desk's PIN as an integer; the PIN prompt formats it with
// at least four digits ("%.4d") and compares the entry with that text.
//   kDefaultPin      the PIN of a new head row, and the PIN in force while
//                    none is set (PM5 null, 0 or kUnsetPinMarker). The prompt
//                    starts filled with it and its hint line states it.
//   kMasterCode      always accepted, whatever PIN is set.
//   kUnsetPinMarker  a stored value that means "no PIN set"; it has five
//                    digits, so no four-digit entry can ever equal it.
#pragma once

namespace kashidashi {

constexpr int kDefaultPin = 1234;
constexpr const char* kDefaultPinText = "1234";
constexpr const char* kMasterCode = "7391";
constexpr int kUnsetPinMarker = 99999;
constexpr const char* kUnsetPinMarkerText = "99999";

}  // namespace kashidashi
