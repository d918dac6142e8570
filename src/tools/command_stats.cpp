// stats FOLDER --from yyyy/mm/dd --to yyyy/mm/dd --by VIEW: the lending
// counts of a period (library/stats/stats.h), a header line and then one line per
// row in the chart's order, the view's columns separated by tabs.
// With --save DIR instead of --by: every view as a CSV file and a PDF in DIR
// (library/stats/stats_save.h), one line per file written.

#include "engine/common/dates.h"
#include "library/stats/stats.h"
#include "library/stats/stats_save.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/date_option.h"
#include "tools/gui_application.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

int Usage(std::ostream& err, const std::string& problem) {
    if (!problem.empty()) err << problem << "\n";
    err << "使い方: kashidashi-admin " << kStatsUsage << "\n";
    return kExitUsage;
}

void Print(const library::StatsTable& table, std::ostream& out) {
    std::vector<std::vector<std::string>> lines{library::StatsTitles(table.view)};
    for (size_t i = 0; i < table.rows.size(); ++i) lines.push_back(library::StatsTexts(table, i));
    for (const auto& fields : lines) {
        for (size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << fields[i];
        out << "\n";
    }
}

std::string PeriodText(engine::Date from, engine::Date to) {
    return engine::FormatDate(from) + " ～ " + engine::FormatDate(to);
}

}  // namespace

int CommandStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {"--from", "--to", "--by", "--save"});
    if (!options || options->positional.size() != 1 || !options->Value("--from") ||
        !options->Value("--to") || !options->Value("--by") == !options->Value("--save"))
        return Usage(err, "");
    std::string problem;
    auto from = DateOption(*options->Value("--from"), problem);
    auto to = from ? DateOption(*options->Value("--to"), problem) : std::nullopt;
    if (!from || !to) return Usage(err, problem);
    if (*to < *from) return Usage(err, "--to は --from より後の日付にしてください。");
    std::optional<library::StatsView> view;
    if (options->Value("--by") && !(view = library::StatsViewNamed(*options->Value("--by"))))
        return Usage(err,
                     "--by には month, grade, class, ndc, title, users, perpupil-class, "
                     "perpupil-grade, readers-class, readers-grade のどれかを書いてください。");
    return RunCommand(options->positional, 1, kStatsUsage, err, [&] {
        library::PlaceConnection connection(RequirePlace(options->positional[0], true));
        if (view) {
            Print(library::CountLoans(*connection, *from, *to, *view), out);
            return kExitDone;
        }
        EnsureGuiApplication();
        for (const auto& path : library::SaveAllStatsViews(
                 *connection, *from, *to, PeriodText(*from, *to), "", *options->Value("--save")))
            out << path << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
