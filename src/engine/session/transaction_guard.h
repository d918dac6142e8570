// One transaction of a backend connection (storage::Connection) or of a
// database (TDBDatabase): begun on construction, rolled back on destruction
// unless Commit was called, so that a failure, thrown anywhere between,
// leaves nothing half written. Commit writes through to the disk.
//
//     TransactionGuard transaction(connection);
//     ... writes ...
//     transaction.Commit();
#pragma once

#include "engine/session/database.h"
#include "engine/storage/connection.h"

namespace engine {

template <class Store>
class TransactionGuard {
  public:
    explicit TransactionGuard(Store& store) : store_(store) { Begin(store_); }
    ~TransactionGuard() {
        if (committed_) return;
        try {
            store_.Rollback();
        } catch (...) {
            // A lost connection has rolled the transaction back itself.
        }
    }
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

    void Commit() {
        store_.Commit(true);
        committed_ = true;
    }

  private:
    static void Begin(storage::Connection& connection) { connection.Begin(); }
    static void Begin(TDBDatabase& database) { database.StartTransaction(); }

    Store& store_;
    bool committed_ = false;
};

}  // namespace engine
