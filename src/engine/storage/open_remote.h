// Opens the server backend: a database on a PostgreSQL server, reached
// through libpq over TCP (TLS when the server offers it).
//
// Connect failures raise 11280 (no server answers at the address and port),
// 11287 (the server refuses the user or the password) or 11294 (the server
// has no such database). A connection that breaks later raises 11276 at the
// next operation, without waiting for the network to time out for good.
//
// The lock rule governs every wait for another desk: a row or table another
// connection's transaction holds is waited for at most retryCount × waitMs
// milliseconds, and then the operation fails with 10241 naming the table.
#pragma once

#include <memory>
#include <string>

#include "engine/storage/connection.h"
#include "engine/storage/open_local.h"

namespace engine::storage {

struct ServerAddress {
    std::string host;  // name or numeric address
    int port = 12005;
    std::string user;
    std::string password;
    std::string database;
};

std::unique_ptr<Connection> OpenRemote(const ServerAddress& server, LockRule rule = {});

}  // namespace engine::storage
