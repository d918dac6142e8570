// marc-import FILE: MARC21 records (ISO 2709 or MARCXML) into the MARC
// database of the quick registration, all or nothing: a file with any bad
// record changes nothing and names each bad record by its number. Records
// without an ISBN that has an ISBN-10 cannot be looked up: they are skipped
// and counted in the report.
#include "catalogue/lookup_services.h"
#include "catalogue/marc_import.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"

namespace kashidashi::admin {
namespace {

// "ISBNのないレコード 3 件 (2, 5, 9 番目) は取り込みませんでした。"
std::string SkippedLine(const std::vector<int>& numbers) {
    std::string list;
    for (std::size_t i = 0; i < numbers.size() && i < 20; ++i)
        list += (i ? ", " : "") + std::to_string(numbers[i]);
    if (numbers.size() > 20) list += ", ...";
    return "ISBNのないレコード " + std::to_string(numbers.size()) + " 件 (" + list +
           " 番目) は取り込みませんでした。\n";
}

}  // namespace

int CommandMarcImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 1, kMarcImportUsage, err, [&] {
        std::vector<std::string> bad;
        std::vector<int> withoutIsbn;
        const auto entries = catalogue::ReadMarcFile(args[0], bad, withoutIsbn);
        if (!bad.empty()) {
            for (const std::string& line : bad) err << line << "\n";
            err << "取り込みを中止しました。MARCのデータは何も変わっていません。\n";
            return kExitFailed;
        }
        const std::string path = catalogue::Services().marcDataPath;
        if (!entries.empty()) catalogue::WriteMarcDatabase(path, entries);
        out << entries.size() << " 件を " << platform::MapToLocalPath(path)
            << " に取り込みました。\n";
        if (!withoutIsbn.empty()) out << SkippedLine(withoutIsbn);
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
