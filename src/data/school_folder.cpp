#include "data/school_folder.h"

#include "data/schema.h"
#include "engine/storage/open_local.h"
#include "platform/paths.h"

namespace kashidashi {

bool FolderHoldsSchool(const std::string& folder) {
    auto connection = engine::storage::OpenLocal(platform::MapToLocalPath(folder));
    for (const auto& name : DataTableNames())
        if (connection->DescribeTable(name)) return true;
    return false;
}

}  // namespace kashidashi
