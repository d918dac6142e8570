// stats FOLDER --from yyyy/mm/dd --to yyyy/mm/dd --by VIEW: the lending
// counts of a period (library/stats.h), a header line and then one line per
// row in the chart's order: key<TAB>count (users: key, borrowers, users).
#include "engine/common/dates.h"
#include "library/stats.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

int Usage(std::ostream& err, const std::string& problem) {
    if (!problem.empty()) err << problem << "\n";
    err << "使い方: kashidashi-admin " << kStatsUsage << "\n";
    return kExitUsage;
}

void Print(const library::StatsTable& table, std::ostream& out) {
    const auto titles = library::StatsTitles(table.view);
    for (size_t i = 0; i < titles.size(); ++i) out << (i ? "\t" : "") << titles[i];
    out << "\n";
    for (const auto& row : table.rows) {
        out << row.key << "\t" << row.count;
        if (table.view == library::StatsView::Users) out << "\t" << row.users;
        out << "\n";
    }
}

}  // namespace

int CommandStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {"--from", "--to", "--by"});
    if (!options || options->positional.size() != 1 || !options->Value("--from") ||
        !options->Value("--to") || !options->Value("--by"))
        return Usage(err, "");
    auto from = engine::ParseDate(*options->Value("--from"));
    auto to = engine::ParseDate(*options->Value("--to"));
    if (!from || !to) return Usage(err, "日付は yyyy/mm/dd の形で書いてください。");
    if (*to < *from) return Usage(err, "--to は --from より後の日付にしてください。");
    auto view = library::StatsViewNamed(*options->Value("--by"));
    if (!view)
        return Usage(err,
                     "--by には month, grade, class, ndc, title, users のどれかを書いてください。");
    return RunCommand(options->positional, 1, kStatsUsage, err, [&] {
        library::PlaceConnection connection(RequirePlace(options->positional[0], true));
        Print(library::CountLoans(*connection, *from, *to, *view), out);
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
