// overdue FOLDER [--date yyyy/mm/dd] [--class CODE|staff]: the loans overdue
// as of a day (today unless told; library/overdue/overdue.h), one line each with the
// fields of the 延滞・督促 window separated by tabs, after a header line.
// Exit 0 also when none is overdue, 1 failed (also a class code SYOZOKU
// lacks), 2 wrong use (also a day the calendar lacks).
#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/overdue/overdue.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/date_option.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

void PrintLine(const std::vector<std::string>& fields, std::ostream& out) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << fields[i];
    out << "\n";
}

// "staff" (or 職員) for every staff member, else a class code.
std::optional<library::OverdueFilter> FilterOf(const std::optional<std::string>& text) {
    if (!text) return library::OverdueFilter::Everybody();
    if (*text == "staff" || *text == "職員") return library::OverdueFilter::OfStaff();
    try {
        size_t used = 0;
        long long code = std::stoll(*text, &used);
        if (used == text->size()) return library::OverdueFilter::OfClass(code);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

int Usage(std::ostream& err, const std::string& problem) {
    if (!problem.empty()) err << problem << "\n";
    err << "使い方: kashidashi-admin " << kOverdueUsage << "\n";
    return kExitUsage;
}

}  // namespace

int CommandOverdue(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {"--date", "--class"});
    if (!options || options->positional.size() != 1) return Usage(err, "");
    std::string problem;
    auto day = options->Value("--date") ? DateOption(*options->Value("--date"), problem)
                                        : std::optional(engine::Today());
    if (!day) return Usage(err, problem);
    auto filter = FilterOf(options->Value("--class"));
    if (!filter) return Usage(err, "--class には所属コード（数字）か staff を書いてください。");
    return RunCommand(options->positional, 1, kOverdueUsage, err, [&] {
        library::PlaceConnection connection(RequirePlace(options->positional[0], true));
        if (filter->kind == library::OverdueFilter::Kind::Class &&
            !library::ReadAffiliations(*connection).count(filter->classCode))
            throw AdminError("所属コード " + std::to_string(filter->classCode) +
                             " は所属（SYOZOKU）にありません。");
        auto loans = library::OverdueLoans(*connection, *day, *filter);
        PrintLine(library::OverdueTitles(), out);
        for (const auto& loan : loans) PrintLine(library::OverdueTexts(loan), out);
        err << engine::FormatDate(*day) << " 現在で延滞している貸出: " << loans.size() << " 件\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
