// Whether a data folder holds a school: at least one of the data tables.
// A folder without them is what `kashidashi-admin init` (an empty school) or
// `kashidashi-admin demo` (the demo school) can fill.
#pragma once

#include <string>

namespace kashidashi {

// True when the folder (a drive, UNC or POSIX path) holds a data table.
// Looking writes nothing: a folder without a database file stays without
// one. Throws the engine's error for a missing folder or a damaged or
// foreign database file.
bool FolderHoldsSchool(const std::string& folder);

}  // namespace kashidashi
