// marc-import FILE: MARC21 records (ISO 2709 or MARCXML) into the MARC
// database of the quick registration, all or nothing: a file with any bad
// record changes nothing and names each bad record by its number.
#include "catalogue/lookup_services.h"
#include "catalogue/marc_import.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"

namespace kashidashi::admin {

int CommandMarcImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 1, kMarcImportUsage, err, [&] {
        std::vector<std::string> bad;
        const auto entries = catalogue::ReadMarcFile(args[0], bad);
        if (!bad.empty()) {
            for (const std::string& line : bad) err << line << "\n";
            err << "取り込みを中止しました。MARCのデータは何も変わっていません。\n";
            return kExitFailed;
        }
        const std::string path = catalogue::Services().marcDataPath;
        catalogue::WriteMarcDatabase(path, entries);
        out << entries.size() << " 件を " << platform::MapToLocalPath(path)
            << " に取り込みました。\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
