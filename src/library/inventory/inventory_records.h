// The stock check's own tables (kx_...), beside the specified ones and
// created when first written:
//   kx_inventory_files  the reader's files taken in a check, by content:
//                       DIGEST (SHA-256 of the text), STARTED (the check's
//                       start, yyyy/mm/dd), DONE (lines taken, in whole
//                       batches), TOTAL (lines of the file)
//   kx_lost             the books marked 不明: BOOK_ID, LOST_ON (the date of
//                       the first check that missed it, kept across years),
//                       LAST_ON (the last one), MISSES (how many checks in a
//                       row missed it)
//   kx_writeoff         the write-offs of 完了: STARTED (the check),
//                       BOOK_ID, WRITTEN_ON, RESTORED_ON (empty until undone)
//   kx_inventory_scope  the part of the library the running check covers:
//                       ID 1, HKN_ID (a storage place), NDC_FROM, NDC_TO
//                       (an NDC range); empty columns: no limit
// Each function works on a backend connection, in the caller's transaction
// if one is open. Failures throw EngineError.
#pragma once

#include <cstdint>
#include <string>

#include "desk/lost_mark.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

inline constexpr const char* kFilesTable = "kx_inventory_files";
inline constexpr const char* kLostTable = desk::kLostMarkTable;
inline constexpr const char* kWriteOffTable = "kx_writeoff";
inline constexpr const char* kScopeTable = "kx_inventory_scope";

// Creates the table `name` (one of the above) when the database lacks it.
void EnsureInventoryTable(engine::storage::Connection& connection, const std::string& name);
// Whether the table exists: a reader never creates it.
bool HasInventoryTable(engine::storage::Connection& connection, const std::string& name);

// Takes the 不明 mark off a book found (none: nothing happens).
void Unmark(engine::storage::Connection& connection, int64_t number);

}  // namespace kashidashi::library
