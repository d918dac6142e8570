// Copying a school's data tables from one place to another (a data folder
// to a server, or back): every data table with its layout, keys and rows,
// all or nothing.
#pragma once

#include <string>
#include <vector>

#include "tools/data_folder.h"

namespace kashidashi::admin {

struct CopiedTable {
    std::string name;
    int64_t rows = 0;
};

// Fails with AdminError, changing nothing, when the destination holds any
// data table, the source lacks one, or a desk has one of the source's tables
// open. The tables are created and filled in one transaction of the
// destination, and each one's row count is checked against the source's
// before it commits.
std::vector<CopiedTable> CopyDataTables(DataFolder& source, DataFolder& destination);

}  // namespace kashidashi::admin
