// Writing the checked rows of an import: a row whose key the table has is
// updated in the columns the file names, any other row is added with the
// target's defaults. Everything is one transaction: a failure (a row locked
// by a desk, a full disk) leaves the table as it was and is rethrown.
#pragma once

#include "exchange/import_rules.h"
#include "tools/data_folder.h"

namespace kashidashi::admin {

struct ImportCounts {
    int added = 0;
    int updated = 0;
};

ImportCounts ApplyImport(DataFolder& folder, const exchange::ImportTarget& target,
                         const std::vector<exchange::ImportRow>& rows);

}  // namespace kashidashi::admin
