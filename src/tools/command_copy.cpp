// copy SOURCE DEST: a school's data tables from a data folder to a server
// (or back), all or nothing. SOURCE may be a backup file.
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/copy_tables.h"

namespace kashidashi::admin {

int CommandCopy(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 2, kCopyUsage, err, [&] {
        DataFolder source(args[0], true);
        DataFolder destination(args[1]);
        int64_t total = 0;
        for (const auto& table : CopyDataTables(source, destination)) {
            out << table.name << ": " << table.rows << " 行\n";
            total += table.rows;
        }
        out << "データ表をコピーしました（" << total << " 行）: " << args[0] << " → " << args[1]
            << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
