// One row of a data table changed by the librarian while desks go on
// working: the row is locked as the desk locks a row it writes (the engine's
// row lock, tried again 15 times 100 ms apart while a desk holds it), and
// only the columns the operator changed are written, so that a flag a desk
// set meanwhile (a loan, a reservation) is never written back over.
//
// Failures throw EngineError: 10258 when a desk keeps the row locked, 8708
// when the row is gone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {

struct ColumnChange {
    std::string column;
    engine::Value value;
};
using ColumnChanges = std::vector<ColumnChange>;

// Writes `changes` into the row of `table` whose `keyColumn` is `key`, in
// one transaction of its own (or the caller's, when one is open), under the
// row's lock. Nothing happens for no changes.
void WriteColumns(engine::storage::Connection& connection, const std::string& table,
                  const std::string& keyColumn, const engine::Value& key,
                  const ColumnChanges& changes);

// Runs `work` while the row is locked (the row's existence is checked
// first). `work` runs in a transaction that commits when it returns.
void WithRowLocked(engine::storage::Connection& connection, const std::string& table,
                   const std::string& keyColumn, const engine::Value& key,
                   const std::function<void()>& work);

}  // namespace kashidashi::library::holdings
