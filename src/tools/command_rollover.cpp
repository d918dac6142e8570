// rollover FOLDER FILE.csv... [--apply] [--allow-removals]: what the new
// year's class lists change (library/year/rollover.h), as a header line and one
// tab-separated line per change; with --apply it is done, after a backup
// made in the folder of the first FILE.csv (its name is printed) and the
// ending year's statistics saved beside it. Bad lines of the files are
// printed as "[<file> ]<line>行目: <reason>" and nothing changes (exit 1);
// so is a plan that would take a whole class, grade or the staff, or more
// than a tenth of the users, without --allow-removals.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/common/dates.h"
#include "library/year/rollover.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/gui_application.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

std::vector<library::RolloverFile> ReadFiles(const std::vector<std::string>& paths) {
    std::vector<library::RolloverFile> files;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw AdminError("ファイル「" + path + "」を開けません。");
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.push_back({std::filesystem::path(path).filename().string(), bytes.str()});
    }
    return files;
}

void PrintLine(const std::vector<std::string>& fields, std::ostream& out) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << fields[i];
    out << "\n";
}

void PrintPlan(const library::RolloverPlan& plan, std::ostream& out, std::ostream& err) {
    PrintLine(library::RolloverTitles(), out);
    for (const auto& row : library::RolloverRows(plan)) PrintLine(row, out);
    err << library::RolloverSummary(plan) << "\n";
    const auto classes = library::RolloverClassSummary(plan);
    if (!classes.empty()) err << "所属別: " << classes << "\n";
    for (const auto& alarm : plan.alarms) err << "注意: " << alarm << "がいなくなります\n";
}

int Refuse(const library::RolloverPlan& plan, std::ostream& err) {
    for (const auto& problem : plan.problems)
        err << library::ProblemPlace(problem) << ": " << problem.reason << "\n";
    err << "新年度の名簿に誤りがあります。何も変えていません。\n";
    return kExitFailed;
}

std::string BackupPath(const std::string& csv) {
    auto folder = std::filesystem::absolute(csv).parent_path();
    return (folder / library::RolloverBackupName(engine::Now())).string();
}

int Run(const CommandOptions& options, std::ostream& out, std::ostream& err) {
    const auto& words = options.positional;
    auto place = RequirePlace(words[0], false);
    const auto files = ReadFiles({words.begin() + 1, words.end()});
    const bool allow = options.flags.count("--allow-removals") > 0;
    {
        library::PlaceConnection connection(place);
        auto plan = library::PlanRollover(*connection, files);
        if (!plan.Good()) return Refuse(plan, err);
        if (!options.flags.count("--apply")) {
            PrintPlan(plan, out, err);
            if (!plan.alarms.empty() && !allow)
                err << "--apply には --allow-removals が要ります。\n";
            err << "まだ何も変えていません（--apply で実行します）。\n";
            return kExitDone;
        }
        if (!plan.alarms.empty() && !allow) {
            PrintPlan(plan, out, err);
            err << "いなくなる利用者が多すぎます。本当に実行するときは --allow-removals を"
                   "付けてください。何も変えていません。\n";
            return kExitFailed;
        }
    }
    EnsureGuiApplication();
    const std::string backup = BackupPath(words[1]);
    library::RolloverOptions apply;
    apply.allowRemovals = allow;
    auto result = library::ApplyRollover(place, files, backup, apply);
    PrintPlan(result.plan, out, err);
    err << "年度更新を実行しました。バックアップ: " << backup << "\n";
    err << "終わる年度の統計: " << result.statsFolder << "\n";
    return kExitDone;
}

}  // namespace

int CommandRollover(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {}, {"--apply", "--allow-removals"});
    if (!options || options->positional.size() < 2) {
        err << "使い方: kashidashi-admin " << kRolloverUsage << "\n";
        return kExitUsage;
    }
    return RunCommand(options->positional, options->positional.size(), kRolloverUsage, err,
                      [&] { return Run(*options, out, err); });
}

}  // namespace kashidashi::admin
