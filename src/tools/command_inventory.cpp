// inventory FOLDER start [--again]|scan FILE|report|status: the stock check
// of the data folder (or a server database) without the window.
//   start   clears every book's check and records today as the start; when
//           a check is running it is refused unless --again is given
//   scan    takes a portable reader's file (the format of `scans`), one
//           output line "<line>\t<scan>\t<answer>" a scan, the counts last
//   report  the books not found, one tab-separated line each: 図書番号,
//           書名, 請求記号, 保管場所 (by storage place and call number)
//   status  the start date and checked / to be checked, in all, by storage
//           place and by NDC class, tab-separated
// Exit 0 done, 1 refused or failed, 2 wrong use.

#include "engine/common/dates.h"
#include "library/inventory_file.h"
#include "library/inventory_prints.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/csv_reader.h"
#include "tools/data_folder.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

using library::PlaceConnection;

void PrintLine(const std::vector<std::string>& fields, std::ostream& out) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << fields[i];
    out << "\n";
}

void RequireRunning(engine::storage::Connection& connection) {
    if (!library::ReadInventoryState(connection).running)
        throw AdminError("蔵書点検が始まっていません。先に start で始めてください。");
}

int Start(PlaceConnection& connection, bool again, std::ostream& err) {
    auto state = library::ReadInventoryState(*connection);
    if (state.running && !again)
        throw AdminError(
            engine::FormatDate(*state.startedOn) +
            " に始めた点検が終わっていません。始め直すには start --again としてください。");
    library::StartInventory(*connection, engine::Today());
    err << engine::FormatDate(engine::Today()) << " に蔵書点検を始めました。\n";
    return kExitDone;
}

int Scan(PlaceConnection& connection, const std::string& file, std::ostream& out,
         std::ostream& err) {
    auto lines = desk::ParseScanFile(ReadFileText(file));
    RequireRunning(*connection);
    auto scans = library::ScanReaderLines(*connection, lines);
    for (const auto& scan : scans)
        PrintLine({std::to_string(scan.line.number), scan.line.scan, AnswerText(scan.result)}, out);
    err << library::SummaryText(library::Summarise(scans)) << "\n";
    return kExitDone;
}

int Report(PlaceConnection& connection, std::ostream& out, std::ostream& err) {
    auto books = library::BooksNotFound(*connection);
    PrintLine(library::MissingTitles(), out);
    for (const auto& book : books) PrintLine(library::MissingTexts(book), out);
    err << "見つかっていない図書: " << books.size() << " 冊\n";
    return kExitDone;
}

int Status(PlaceConnection& connection, std::ostream& out) {
    auto state = library::ReadInventoryState(*connection);
    auto progress = library::ReadInventoryProgress(*connection);
    PrintLine({"開始日", state.startedOn ? engine::FormatDate(*state.startedOn) : "",
               state.running ? "点検中" : "点検なし"},
              out);
    PrintLine({"全体", "", std::to_string(progress.checked), std::to_string(progress.toCheck)},
              out);
    for (const auto& line : progress.byPlace)
        PrintLine(
            {"保管場所", line.group, std::to_string(line.checked), std::to_string(line.toCheck)},
            out);
    for (const auto& line : progress.byClass)
        PrintLine({"NDC", line.group, std::to_string(line.checked), std::to_string(line.toCheck)},
                  out);
    return kExitDone;
}

// The number of words each action takes after FOLDER, or 0 for no action.
size_t WordsOf(const std::vector<std::string>& args) {
    if (args.size() < 2) return 0;
    const std::string& action = args[1];
    if (action == "start") return args.size() == 3 && args[2] == "--again" ? 3 : 2;
    if (action == "scan") return 3;
    if (action == "report" || action == "status") return 2;
    return 0;
}

}  // namespace

int CommandInventory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const size_t count = WordsOf(args);
    return RunCommand(args, count ? count : args.size() + 1, kInventoryUsage, err, [&] {
        PlaceConnection connection(RequirePlace(args[0], false));
        const std::string& action = args[1];
        if (action == "start") return Start(connection, args.size() == 3, err);
        if (action == "scan") return Scan(connection, args[2], out, err);
        if (action == "report") return Report(connection, out, err);
        return Status(connection, out);
    });
}

}  // namespace kashidashi::admin
