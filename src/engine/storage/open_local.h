// Opens the local backend on a folder. Throws EngineError when the folder is
// missing or its database file is damaged or foreign. A folder without a
// database file is left untouched until something is written to it: its
// tables are simply missing.
//
// The lock rule governs every wait for another desk: a database lock that
// another connection holds (its transaction, its commit) is tried again
// `retryCount` times `waitMs` milliseconds apart, and then the operation
// fails with 10241 naming the table it was for.
#pragma once

#include <memory>
#include <string>

#include "engine/storage/connection.h"

namespace engine::storage {

struct LockRule {
    int retryCount = 15;
    int waitMs = 100;
};

std::unique_ptr<Connection> OpenLocal(const std::string& folder, LockRule rule = {});

}  // namespace engine::storage
