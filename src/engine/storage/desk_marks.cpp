#include "engine/storage/desk_marks.h"

#include "engine/storage/postgres/pg_connection.h"
#include "engine/storage/sqlite/sqlite_connection.h"

namespace engine::storage {

bool AnnounceDesk(Connection& connection, const std::string& machine) {
    if (auto* folder = dynamic_cast<sqlite::SqliteConnection*>(&connection))
        return folder->AnnounceDesk(machine);
    if (auto* server = dynamic_cast<postgres::PgConnection*>(&connection))
        return server->AnnounceDesk(machine);
    return false;
}

std::vector<std::string> OpenDesks(Connection& connection) {
    if (auto* folder = dynamic_cast<sqlite::SqliteConnection*>(&connection))
        return folder->OpenDesks();
    if (auto* server = dynamic_cast<postgres::PgConnection*>(&connection))
        return server->OpenDesks();
    return {};
}

}  // namespace engine::storage
