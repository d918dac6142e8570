// The PostgreSQL server that the server-mode tests run against, named by the
// environment: KX_PG_HOST, KX_PG_PORT, KX_PG_USER and KX_PG_PASSWORD (a role
// that may create databases). scripts/test starts a throw-away cluster and
// sets them. Without them the server tests skip and say why; with
// KX_PG_REQUIRED=1 (CI) they fail instead.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/storage/open_remote.h"

namespace engine::testing {

std::optional<storage::ServerAddress> TestServer();
// Why the server tests cannot run, for GTEST_SKIP or a failure.
const char* NoServerReason();
bool ServerRequired();
// Whether the tests' data goes on the test server (KX_ENGINE_BACKEND=server):
// the suites that hold for both backends run once more so.
bool DataOnServer();

// Skips (or, when required, fails) the current test when no server is named.
#define KX_NEED_SERVER()                                         \
    do {                                                         \
        if (!::engine::testing::TestServer()) {                  \
            if (::engine::testing::ServerRequired())             \
                FAIL() << ::engine::testing::NoServerReason();   \
            GTEST_SKIP() << ::engine::testing::NoServerReason(); \
        }                                                        \
    } while (0)

// A new, empty database on the test server, dropped with every connection to
// it when this object goes.
class ScratchDatabase {
  public:
    ScratchDatabase();
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    // The test server with this database.
    const storage::ServerAddress& address() const { return address_; }
    const std::string& name() const { return address_.database; }
    // The database as kashidashi-admin takes it: server://USER@HOST:PORT/DATABASE.
    std::string Location() const;
    // Ends every connection to this database on the server, as a server
    // restarted under the desks would; empty on success, else why not.
    std::string EndConnections() const;

  private:
    storage::ServerAddress address_;
};

// Runs one statement as the test role on the server's "postgres" database;
// empty on success, else the server's message.
std::string AdminSql(const std::string& sql);

}  // namespace engine::testing
