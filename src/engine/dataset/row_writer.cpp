#include "engine/dataset/row_writer.h"

#include <chrono>
#include <thread>

#include "engine/common/error.h"
#include "engine/session/session.h"

namespace engine {

// The lock and the read of the row go together: one try, then
// LockRetryCount retries LockWaitTime apart (16 tries and 1.5 seconds with
// the usual settings).
storage::Row RowWriter::LockAndRead(const storage::Row& row) {
    for (int attempt = 0;; ++attempt) {
        auto read = connection_.TryLockAndReadRow(table_, row.id);
        if (read.locked && read.row) return *read.row;
        if (read.locked) {
            connection_.UnlockRow(table_.name, row.id);
            throw EngineError::Make(err::kRecordChanged, table_.name);
        }
        if (attempt >= session_.LockRetryCount) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(session_.LockWaitTime));
    }
    throw EngineError::Make(err::kRecordLocked, table_.name);
}

void RowWriter::Unlock(const storage::Row& row) {
    connection_.UnlockRow(table_.name, row.id);
}

storage::Row RowWriter::Update(const storage::Row& original, const std::vector<Value>& values) {
    if (!connection_.UpdateRow(table_, original.id, original.values, values))
        throw EngineError::Make(err::kRecordChanged, table_.name);
    return storage::Row{original.id, values};
}

storage::Row RowWriter::Insert(std::vector<Value> values) {
    storage::RowId id = connection_.InsertRow(table_, values);
    return storage::Row{id, std::move(values)};
}

void RowWriter::Delete(const storage::Row& row) {
    storage::Row stored = LockAndRead(row);
    bool deleted = connection_.DeleteRow(table_, row.id, stored.values);
    Unlock(row);
    if (!deleted) throw EngineError::Make(err::kRecordChanged, table_.name);
}

}  // namespace engine
