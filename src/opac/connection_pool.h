// Read connections to one school's data for the server's threads: a thread
// takes one for a request and gives it back after, so that no two threads
// ever share one. A connection that failed is dropped rather than given
// back (the next request opens a fresh one: a restarted server is met
// again).
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/storage/connection.h"

namespace kashidashi::opac {

class ConnectionPool {
  public:
    using Opener = std::function<std::unique_ptr<engine::storage::Connection>()>;
    explicit ConnectionPool(Opener opener) : opener_(std::move(opener)) {}

    class Lease {
      public:
        Lease(ConnectionPool& pool, std::unique_ptr<engine::storage::Connection> connection)
            : pool_(pool), connection_(std::move(connection)) {}
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        engine::storage::Connection& operator*() { return *connection_; }
        engine::storage::Connection* operator->() { return connection_.get(); }

      private:
        ConnectionPool& pool_;
        std::unique_ptr<engine::storage::Connection> connection_;
    };

    // Throws the engine's error when a new connection cannot be opened.
    Lease Take();

  private:
    Opener opener_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<engine::storage::Connection>> idle_;
};

}  // namespace kashidashi::opac
