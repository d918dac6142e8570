// Opens the local backend on a folder. Throws EngineError when the folder is
// missing or its database file is damaged or foreign.
#pragma once

#include <memory>
#include <string>

#include "engine/storage/connection.h"

namespace engine::storage {

std::unique_ptr<Connection> OpenLocal(const std::string& folder);

}  // namespace engine::storage
