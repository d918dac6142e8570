// restore FILE DEST: a backup's ten data tables put in place of DEST's (a
// folder or a server database), all or nothing (library/restore.h). Refused
// while a desk uses DEST's tables. What DEST held is first backed up beside
// FILE, as kashidashi-before-restore-YYYYMMDD-HHMMSS.kxbak.
#include <filesystem>

#include "engine/common/dates.h"
#include "library/backup_folder.h"
#include "library/restore.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

std::string BeforeRestoreFile(const std::string& file) {
    std::filesystem::path folder = std::filesystem::path(file).parent_path();
    return (folder / library::BeforeRestoreName(engine::Now())).string();
}

}  // namespace

int CommandRestore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 2, kRestoreUsage, err, [&] {
        std::string file = platform::MapToLocalPath(args[0]);
        if (!platform::FileExists(file))
            throw AdminError("バックアップファイル「" + args[0] + "」がありません。");
        auto dest = RequirePlace(args[1], false);
        auto summary = library::Restore(file, dest, BeforeRestoreFile(file));
        if (!summary.before.empty())
            out << "復元前のデータをバックアップしました: " << summary.before << "\n";
        for (const auto& table : summary.tables)
            out << table.table << ": " << table.rows << " 行\n";
        out << "復元しました: " << args[0] << " → " << args[1] << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
