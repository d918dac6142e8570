// A book's reserved flag (yoyakuF) as the desk sets it: true while a
// reservation names the book, or its title by ISBN.
#pragma once

#include <cstdint>

#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

void SetReservedFlag(engine::storage::Connection& connection, int64_t book);

}  // namespace kashidashi::library::holdings
