#include "engine/storage/open_local.h"

#include "engine/storage/sqlite/sqlite_connection.h"

namespace engine::storage {

std::unique_ptr<Connection> OpenLocal(const std::string& folder, LockRule rule) {
    return std::make_unique<sqlite::SqliteConnection>(folder, rule);
}

}  // namespace engine::storage
