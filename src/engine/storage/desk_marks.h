// An open desk window makes itself known on its place through a connection
// of its own, from opening to closing: AnnounceDesk marks the connection as a
// desk on `machine` (false when the place cannot take another mark); the
// mark goes with the connection or its process, so a killed desk leaves
// none. OpenDesks names the machines of the desks marked now, other than the
// connection's own (an unnamed desk as "").
//
// On a folder the marks are locks in the folder's lock file (lock_file.h),
// the names written into it; on a server a shared advisory lock held by the
// session, the name in the session's application name.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace engine::storage {

bool AnnounceDesk(Connection& connection, const std::string& machine);
std::vector<std::string> OpenDesks(Connection& connection);

}  // namespace engine::storage
