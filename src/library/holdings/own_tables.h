// What the catalogue and roll keep beyond the specified tables, in tables of
// the program's own (kx_...), created when first written and backed up,
// checked and restored with the others:
//   kx_discard  a book's discards (除籍): BOOK_ID, DISCARDED_ON, REASON,
//               RESTORED_ON (empty until the discard is undone); the book's
//               own haikiF and haiki_date say whether it is discarded now
//   kx_left     users marked as left (卒業・転出): NAME_ID, LEFT_ON, the
//               day the school said so; the loans of those who left long ago
//               may be made anonymous (forget_leavers.h)
// Readers never create them: a missing table reads as no rows.
#pragma once

#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

inline constexpr const char* kDiscardTable = "kx_discard";
inline constexpr const char* kLeftTable = "kx_left";

// Creates the table (one of the above) when the database lacks it.
void EnsureOwnTable(engine::storage::Connection& connection, const std::string& name);
bool HasOwnTable(engine::storage::Connection& connection, const std::string& name);

}  // namespace kashidashi::library::holdings
