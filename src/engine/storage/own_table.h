// A table of the program's own (kx_...), beside the specified ones and made
// when first needed: two programs may need it at the same moment.
#pragma once

#include "engine/storage/connection.h"
#include "engine/storage/schema.h"

namespace engine::storage {

// The table `schema` names as stored, made with that layout when missing; a
// table made meanwhile by another program is taken as it is. Failures throw
// EngineError.
TableSchema EnsureOwnTable(Connection& connection, const TableSchema& schema);

}  // namespace engine::storage
