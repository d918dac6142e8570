// ConnectionTransaction: one transaction of a backend connection, begun on
// construction and rolled back on destruction unless Commit was called, so
// that a failure leaves nothing half written.
#pragma once

#include "engine/storage/connection.h"

namespace kashidashi::library {

class ConnectionTransaction {
  public:
    explicit ConnectionTransaction(engine::storage::Connection& connection)
        : connection_(connection) {
        connection_.Begin();
    }
    ~ConnectionTransaction() {
        if (committed_) return;
        try {
            connection_.Rollback();
        } catch (...) {
            // A lost connection has rolled the transaction back itself.
        }
    }
    ConnectionTransaction(const ConnectionTransaction&) = delete;
    ConnectionTransaction& operator=(const ConnectionTransaction&) = delete;

    void Commit() {
        connection_.Commit(true);
        committed_ = true;
    }

  private:
    engine::storage::Connection& connection_;
    bool committed_ = false;
};

}  // namespace kashidashi::library
