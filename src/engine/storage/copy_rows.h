// The rows of one table copied from one connection to another, as a backup,
// a restore and the copy between a folder and a server need them.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/storage/connection.h"

namespace engine::storage {

// Inserts every row of `table` read from `from` into the same table of `to`,
// in insertion order, a batch of rows at a time; `copied` is called after
// each batch with the rows copied so far. The table must exist in `to` with
// the same columns; what `to` writes belongs to its transaction, if one
// runs. Returns how many rows were copied; throws what either side throws.
int64_t CopyRows(Connection& from, Connection& to, const TableSchema& table,
                 const std::function<void(int64_t copied)>& copied = {});

}  // namespace engine::storage
