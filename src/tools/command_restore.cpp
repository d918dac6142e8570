// restore FILE DEST [--before FOLDER] [--other-school]: a backup's ten data
// tables put in place of DEST's (a folder or a server database), all or
// nothing (library/backup/restore.h). Refused while a desk window is open on DEST
// or a desk uses DEST's tables. What DEST held is first backed up, as
// kashidashi-before-restore-YYYYMMDD-HHMMSS.kxbak, into FOLDER, or else
// beside FILE; a FILE on a medium that cannot be written (a write-protected
// stick) needs --before. Another school's backup is restored only with
// --other-school, after a first refusal that names both schools.
#include <unistd.h>

#include <filesystem>

#include "engine/common/dates.h"
#include "library/backup/backup_folder.h"
#include "library/backup/restore.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

struct RestoreArgs {
    std::vector<std::string> places;  // FILE DEST
    std::string beforeFolder;
    bool otherSchool = false;
    bool wrong = false;
};

RestoreArgs ReadArgs(const std::vector<std::string>& args) {
    RestoreArgs read;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--other-school")
            read.otherSchool = true;
        else if (args[i] == "--before" && i + 1 < args.size())
            read.beforeFolder = platform::MapToLocalPath(args[++i]);
        else if (args[i].rfind("--", 0) == 0)
            read.wrong = true;
        else
            read.places.push_back(args[i]);
    }
    return read;
}

std::string BeforeRestoreFile(const std::string& file, const std::string& named) {
    namespace fs = std::filesystem;
    fs::path folder = named.empty() ? fs::path(file).parent_path() : fs::path(named);
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder))
        throw AdminError("復元前のデータを置くフォルダ「" + folder.string() + "」がありません。");
    if (access(folder.c_str(), W_OK) != 0)
        throw AdminError("フォルダ「" + folder.string() +
                         "」に書き込めません（読み取り専用です）。復元前のデータを置くフォルダを "
                         "--before FOLDER で指定してください。何も変えていません。");
    return (folder / library::BeforeRestoreName(engine::Now())).string();
}

}  // namespace

int CommandRestore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    RestoreArgs read = ReadArgs(args);
    if (read.wrong) read.places.push_back("--");  // the usage line follows
    return RunCommand(read.places, 2, kRestoreUsage, err, [&] {
        std::string file = platform::MapToLocalPath(read.places[0]);
        if (!platform::FileExists(file))
            throw AdminError("バックアップファイル「" + read.places[0] + "」がありません。");
        auto dest = RequirePlace(read.places[1], false);
        if (!read.otherSchool)
            if (auto other = library::OtherSchoolOf(file, dest))
                throw AdminError("このバックアップは別の学校（" +
                                 library::SchoolText(other->backup) + "）のものです。復元先は" +
                                 library::SchoolText(other->dest) +
                                 "です。それでも復元するときは --other-school を付けてください。"
                                 "何も変えていません。");
        const bool other = read.otherSchool;
        auto summary = library::Restore(file, dest, BeforeRestoreFile(file, read.beforeFolder), {},
                                        [other](const auto&, const auto&) { return other; });
        if (!summary.before.empty())
            out << "復元前のデータをバックアップしました: " << summary.before << "\n";
        for (const auto& table : summary.tables)
            out << table.table << ": " << table.rows << " 行\n";
        out << "復元しました: " << read.places[0] << " → " << read.places[1] << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
