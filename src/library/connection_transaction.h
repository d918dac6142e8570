// ConnectionTransaction: the engine's transaction guard
// (engine/session/transaction_guard.h) over a backend connection, by the
// name the librarian's rules have used for it.
#pragma once

#include "engine/session/transaction_guard.h"

namespace kashidashi::library {

using ConnectionTransaction = engine::TransactionGuard<engine::storage::Connection>;

}  // namespace kashidashi::library
