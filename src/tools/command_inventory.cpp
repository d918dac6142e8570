// inventory FOLDER ACTION ...: the stock check of the data folder (or a
// server database) without the window.
//   start [--again] [--place CODE | --ndc FROM-TO]
//           clears the checks of the books in the scope (the whole library,
//           a storage place HKN_ID, or an NDC range) and records today as
//           the start; while a check runs it is refused unless --again
//   scan FILE [--again]
//           takes a portable reader's file (the format of `scans`), one
//           output line "<line>\t<scan>\t<answer>" a scan, the counts last;
//           a file taken before in this check is refused unless --again,
//           one cut short goes on after its last stored batch
//   report  the books not found, one tab-separated line each: 図書番号,
//           書名, 請求記号, 保管場所 (by storage place and call number)
//   status  the start date and checked / to be checked, in all, by storage
//           place and by NDC class, tab-separated
//   finish [--write-off BOOK,...]
//           ends the check: the books named written off, the others not
//           found marked 不明
//   lost    the books marked 不明, with the first and last check that
//           missed them and how many did
//   restore BOOK
//           undoes a write-off of 完了 for a book that turned up
//   summary [--year YYYY]
//           the year-end figures by NDC class, tab-separated
// Exit 0 done, 1 refused or failed, 2 wrong use.

#include <charconv>
#include <optional>

#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "exchange/scan_file.h"
#include "library/inventory/inventory_file.h"
#include "library/inventory/inventory_prints.h"
#include "library/inventory/inventory_summary.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
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

// A whole number of the text, or nothing.
std::optional<int64_t> NumberOf(const std::string& text) {
    int64_t value = 0;
    auto end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || text.empty() || value < 0) return std::nullopt;
    return value;
}

// The words after the action: flags and their values, as the action allows.
struct Options {
    bool again = false;
    library::InventoryScope scope;
    std::vector<int64_t> writeOff;
    std::optional<int> year;
    std::vector<std::string> words;  // the rest, in order
};

// False on a word the action does not take.
bool ReadOptions(const std::vector<std::string>& args, Options& options) {
    const std::string& action = args[1];
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--again" && (action == "start" || action == "scan")) {
            options.again = true;
        } else if (word == "--place" && action == "start" && hasValue && !options.scope.ndcFrom) {
            auto code = NumberOf(args[++i]);
            if (!code) return false;
            options.scope.place = *code;
        } else if (word == "--ndc" && action == "start" && hasValue && !options.scope.place) {
            const std::string range = args[++i];
            const auto dash = range.find('-');
            auto from = NumberOf(range.substr(0, dash));
            auto to = dash == std::string::npos ? from : NumberOf(range.substr(dash + 1));
            if (!from || !to || *from > *to || *to > 999) return false;
            options.scope.ndcFrom = static_cast<int>(*from);
            options.scope.ndcTo = static_cast<int>(*to);
        } else if (word == "--write-off" && action == "finish" && hasValue) {
            std::string list = args[++i];
            for (size_t start = 0; start <= list.size();) {
                const size_t comma = std::min(list.find(',', start), list.size());
                auto number = NumberOf(list.substr(start, comma - start));
                if (!number) return false;
                options.writeOff.push_back(*number);
                start = comma + 1;
            }
        } else if (word == "--year" && action == "summary" && hasValue) {
            auto year = NumberOf(args[++i]);
            if (!year || *year < 1900 || *year > 2999) return false;
            options.year = static_cast<int>(*year);
        } else if (word.starts_with("--")) {
            return false;
        } else {
            options.words.push_back(word);
        }
    }
    const size_t words = action == "scan" || action == "restore" ? 1 : 0;
    const bool known = action == "start" || action == "scan" || action == "report" ||
                       action == "status" || action == "finish" || action == "lost" ||
                       action == "restore" || action == "summary";
    return known && options.words.size() == words;
}

int Start(PlaceConnection& connection, const Options& options, std::ostream& err) {
    auto state = library::ReadInventoryState(*connection);
    if (state.running && !options.again)
        throw AdminError(
            engine::FormatDate(*state.startedOn) +
            " に始めた点検が終わっていません。始め直すには start --again としてください。");
    library::StartInventory(*connection, engine::Today(), options.scope);
    err << engine::FormatDate(engine::Today()) << " に蔵書点検を始めました（"
        << library::ScopeText(*connection, options.scope) << "）。\n";
    return kExitDone;
}

int Scan(PlaceConnection& connection, const Options& options, std::ostream& out,
         std::ostream& err) {
    const std::string text = exchange::ReadReaderFile(options.words[0]);
    RequireRunning(*connection);
    library::FileRun run;
    try {
        run = library::ScanReaderFile(*connection, text, options.again);
    } catch (const library::FileTakenBefore& taken) {
        throw AdminError(std::string(taken.what()) +
                         "もう一度読むには scan FILE --again としてください。");
    }
    for (const auto& scan : run.scans)
        PrintLine({std::to_string(scan.line.number), scan.line.scan, AnswerText(scan.result)}, out);
    if (run.skipped)
        err << "前に読み込んだ " << run.skipped << " 行は飛ばし、続きから読みました。\n";
    err << library::SummaryText(library::Summarise(run.scans)) << "\n";
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
    auto scope = library::ReadInventoryScope(*connection);
    if (!scope.Whole()) PrintLine({"範囲", library::ScopeText(*connection, scope)}, out);
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

int Finish(PlaceConnection& connection, const Options& options, std::ostream& err) {
    RequireRunning(*connection);
    int lost = 0;
    const int written =
        library::FinishInventory(*connection, options.writeOff, engine::Today(), &lost);
    err << "点検を完了しました。廃棄にした図書 " << written << " 冊、不明とした図書 " << lost
        << " 冊\n";
    return kExitDone;
}

std::string DateText(engine::Date date) {
    return date.days ? engine::FormatDate(date) : "";
}

int Lost(PlaceConnection& connection, std::ostream& out, std::ostream& err) {
    auto books = library::LostBooks(*connection);
    PrintLine({"図書番号", "書名", "請求記号", "保管場所", "不明になった点検", "最後の点検",
               "見つからなかった回数"},
              out);
    for (const auto& lost : books)
        PrintLine({desk::BookNumberText(lost.book.number), lost.book.title, lost.book.callNumber,
                   lost.book.place, DateText(lost.lostOn), DateText(lost.lastOn),
                   std::to_string(lost.misses)},
                  out);
    err << "不明図書: " << books.size() << " 冊\n";
    return kExitDone;
}

int Restore(PlaceConnection& connection, const Options& options, std::ostream& err) {
    auto entry = desk::BookEntryOf(desk::BookField::Edit4, options.words[0], 1);
    const auto* number = std::get_if<desk::BookNumber>(&entry);
    if (!number) throw AdminError("図書番号として読めません: " + options.words[0]);
    auto answer = library::RestoreWrittenOff(*connection, number->number, engine::Today());
    if (answer != library::RestoreAnswer::Restored)
        throw AdminError(library::RestoreText(answer, number->number));
    err << library::RestoreText(answer, number->number) << "\n";
    return kExitDone;
}

int Summary(PlaceConnection& connection, const Options& options, std::ostream& out) {
    const auto today = engine::FormatDate(engine::Today());  // yyyy/mm/dd
    const int year = options.year.value_or(
        library::SchoolYearOf(std::stoi(today.substr(0, 4)), std::stoi(today.substr(5, 2))));
    PrintLine({"年度", std::to_string(year)}, out);
    PrintLine(library::SummaryTitles(), out);
    for (const auto& line : library::YearSummary(*connection, year))
        PrintLine(library::SummaryTexts(line), out);
    return kExitDone;
}

}  // namespace

int CommandInventory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    const bool fits = args.size() >= 2 && ReadOptions(args, options);
    return RunCommand(args, fits ? args.size() : args.size() + 1, kInventoryUsage, err, [&] {
        PlaceConnection connection(RequirePlace(args[0], false));
        const std::string& action = args[1];
        if (action == "start") return Start(connection, options, err);
        if (action == "scan") return Scan(connection, options, out, err);
        if (action == "report") return Report(connection, out, err);
        if (action == "finish") return Finish(connection, options, err);
        if (action == "lost") return Lost(connection, out, err);
        if (action == "restore") return Restore(connection, options, err);
        if (action == "summary") return Summary(connection, options, out);
        return Status(connection, out);
    });
}

}  // namespace kashidashi::admin
