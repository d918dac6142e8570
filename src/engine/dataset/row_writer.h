// Writes the rows of one stored table on behalf of a data set (a table, or a
// live query result) under the session's pessimistic locking:
//
//   LockAndRead  locks the row, trying again LockRetryCount times LockWaitTime
//                apart while another session holds it, then fails with 10258;
//                returns the row as stored now (8708 when it is gone).
//   Update       writes the row when it still holds what LockAndRead read
//                (8708 otherwise: another writer changed or deleted it).
//   Insert       appends a row (9729 for a duplicate primary key).
//   Delete       locks, deletes and unlocks a row.
//
// Values are stored as given: the fields have applied the storage rules.
#pragma once

#include <vector>

#include "engine/storage/connection.h"

namespace engine {

class TDBSession;

class RowWriter {
  public:
    RowWriter(storage::Connection& connection, const storage::TableSchema& table,
              const TDBSession& session)
        : connection_(connection), table_(table), session_(session) {}

    storage::Row LockAndRead(const storage::Row& row);
    void Unlock(const storage::Row& row);
    storage::Row Update(const storage::Row& original, const std::vector<Value>& values);
    storage::Row Insert(std::vector<Value> values);
    void Delete(const storage::Row& row);

  private:
    storage::Connection& connection_;
    const storage::TableSchema& table_;
    const TDBSession& session_;
};

}  // namespace engine
