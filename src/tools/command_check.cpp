// check SOURCE [--repair]: the consistency check of a folder, a server
// database or a backup file (library/backup/check.h). Prints one finding a line,
// then with --repair one line per change; exit 0 when nothing remains to be
// found, 1 with findings (or a failure), 2 wrong use.
#include "library/backup/check.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/library_place.h"

namespace kashidashi::admin {

int CommandCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool repair = args.size() == 2 && args[1] == "--repair";
    if (args.size() == 2 && !repair) {
        err << "使い方: kashidashi-admin " << kCheckUsage << "\n";
        return kExitUsage;
    }
    std::vector<std::string> source(args.begin(), args.begin() + std::min<size_t>(args.size(), 1));
    if (args.size() > 2) source = args;  // the usage line follows
    return RunCommand(source, 1, kCheckUsage, err, [&] {
        auto report = library::CheckPlace(RequirePlace(source[0], !repair), repair);
        for (const auto& note : report.notes) out << note << "\n";
        for (const auto& finding : report.findings) out << finding << "\n";
        for (const auto& change : report.repairs) out << change << "\n";
        if (report.findings.empty())
            err << "問題は見つかりませんでした。\n";
        else
            err << "問題 " << report.findings.size() << " 件、修復 " << report.repairs.size()
                << " 件、残り " << report.remaining.size() << " 件\n";
        return report.Clean() ? kExitDone : kExitFailed;
    });
}

}  // namespace kashidashi::admin
