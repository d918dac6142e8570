// init FOLDER: the data tables with their layouts, keys and indexes.
#include "data/schema.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/init_folder.h"

namespace kashidashi::admin {

int CommandInit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 1, kInitUsage, err, [&] {
        DataFolder folder(args[0]);
        InitDataFolder(folder);
        out << "データ表を作成しました（" << DataTableNames().size() << "表）: " << args[0] << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
