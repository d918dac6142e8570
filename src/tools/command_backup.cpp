// backup SOURCE FILE: a consistent copy of the ten data tables of a folder, a
// server database or a backup file in one new SQLite file, taken while desks
// go on lending (library/backup/backup.h). FILE must not exist yet; a backup that
// fails or is killed leaves none.
#include "library/backup/backup.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/library_place.h"

namespace kashidashi::admin {

int CommandBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 2, kBackupUsage, err, [&] {
        auto source = RequirePlace(args[0], true);
        auto summary = library::MakeBackup(source, platform::MapToLocalPath(args[1]));
        summary.tables = library::BackupRowCounts(summary.file);
        for (const auto& table : summary.tables)
            out << table.table << ": " << table.rows << " 行\n";
        out << "バックアップしました（" << summary.TotalRows() << " 行、" << summary.bytes
            << " バイト）: " << args[0] << " → " << args[1] << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
