// A command line's data location as the librarian's layer names places:
// a folder, a server (its password asked for), or a backup file.
#pragma once

#include <string>

#include "library/data_place.h"

namespace kashidashi::admin {

// Throws AdminError for a malformed server address or a folder or file that
// does not exist; a backup file only where `fileAllowed`.
library::DataPlace RequirePlace(const std::string& text, bool fileAllowed);

}  // namespace kashidashi::admin
