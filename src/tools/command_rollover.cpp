// rollover FOLDER FILE.csv [--apply]: what the new year's class list changes
// (library/rollover.h), as a header line and one tab-separated line per
// change; with --apply it is done, after a backup made in the folder of
// FILE.csv (its name is printed). Bad lines of the file are printed as
// "<line>行目: <reason>" and nothing changes (exit 1).
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/common/dates.h"
#include "library/rollover.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw AdminError("ファイル「" + path + "」を開けません。");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void PrintLine(const std::vector<std::string>& fields, std::ostream& out) {
    for (size_t i = 0; i < fields.size(); ++i) out << (i ? "\t" : "") << fields[i];
    out << "\n";
}

void PrintPlan(const library::RolloverPlan& plan, std::ostream& out, std::ostream& err) {
    PrintLine(library::RolloverTitles(), out);
    for (const auto& row : library::RolloverRows(plan)) PrintLine(row, out);
    err << "変更 " << plan.changes.size() << " 人、新規 " << plan.added.size() << " 人、削除 "
        << plan.removed.size() << " 人（予約 " << plan.reservations.size() << " 件）、残す "
        << plan.kept.size() << " 人、変わらない " << plan.unchanged << " 人\n";
}

int Refuse(const library::RolloverPlan& plan, std::ostream& err) {
    for (const auto& problem : plan.problems)
        err << problem.line << "行目: " << problem.reason << "\n";
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
    const std::string bytes = ReadBytes(words[1]);
    if (!options.flags.count("--apply")) {
        library::PlaceConnection connection(place);
        auto plan = library::PlanRollover(*connection, bytes);
        if (!plan.Good()) return Refuse(plan, err);
        PrintPlan(plan, out, err);
        err << "まだ何も変えていません（--apply で実行します）。\n";
        return kExitDone;
    }
    {
        library::PlaceConnection connection(place);
        auto plan = library::PlanRollover(*connection, bytes);
        if (!plan.Good()) return Refuse(plan, err);
    }
    const std::string backup = BackupPath(words[1]);
    auto result = library::ApplyRollover(place, bytes, backup);
    PrintPlan(result.plan, out, err);
    err << "年度更新を実行しました。バックアップ: " << backup << "\n";
    return kExitDone;
}

}  // namespace

int CommandRollover(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {}, {"--apply"});
    if (!options || options->positional.size() != 2) {
        err << "使い方: kashidashi-admin " << kRolloverUsage << "\n";
        return kExitUsage;
    }
    return RunCommand(options->positional, 2, kRolloverUsage, err,
                      [&] { return Run(*options, out, err); });
}

}  // namespace kashidashi::admin
