// A desk without its window, for the commands and programs that run the
// desk's operations on stored or generated scans (scans, the load driver).
#pragma once

#include <string>

namespace kashidashi::admin {

// Creates the data module and prepares it as the desk's start prepares it:
// the settings database in the folder `settings` (its tables made when
// missing) and the data at `dataFolder`, a folder that must exist or a
// server database (data_location.h). Throws AdminError for a wrong
// location; nothing is opened yet.
void PrepareDesk(const std::string& dataFolder, const std::string& settings);

}  // namespace kashidashi::admin
