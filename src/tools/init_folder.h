// Creating the data tables in a data folder, shared by init and demo.
#pragma once

#include "tools/data_folder.h"

namespace kashidashi::admin {

// Fails with AdminError naming the data tables the folder already holds.
void RequireNoDataTables(DataFolder& folder);
// Runs the data tables script (inside the caller's transaction, if any).
void CreateDataTables(DataFolder& folder);
// Both of the above and the lending settings row (Reg row 2: no days of
// waiting for new books, lending by ISBN allowed), in one transaction: all
// tables or none.
void InitDataFolder(DataFolder& folder);

}  // namespace kashidashi::admin
