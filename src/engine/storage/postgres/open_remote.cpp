#include "engine/storage/open_remote.h"

#include "engine/storage/postgres/pg_connection.h"

namespace engine::storage {

std::unique_ptr<Connection> OpenRemote(const ServerAddress& server, LockRule rule) {
    return std::make_unique<postgres::PgConnection>(server, rule);
}

}  // namespace engine::storage
