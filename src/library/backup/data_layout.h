// The columns of the ten data tables as this program makes them (the data
// tables' creation script), for telling whether a backup holds them all.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kashidashi::library {

// Table name -> its column names, in the script's spelling.
const std::map<std::string, std::vector<std::string>>& DataTableColumns();

}  // namespace kashidashi::library
