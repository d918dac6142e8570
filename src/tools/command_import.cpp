// import-users FOLDER FILE [--apply] and import-books FOLDER FILE [--apply]:
// Name and Book rows from a CSV file whose header names the columns. Every
// line is checked first, by itself (import_rules.h) and against the data as
// it stands (library/holdings/import_checks.h: pupil numbers, codes); a bad
// line refuses the whole file and nothing is written. Without --apply the
// command only says what it would do; with it, every line is written in one
// transaction.

#include "data/failure_text.h"
#include "exchange/csv_file.h"
#include "exchange/import_rules.h"
#include "library/holdings/import_checks.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/import_writer.h"

namespace kashidashi::admin {
namespace {

using Checks = std::vector<exchange::Rejection> (*)(engine::storage::Connection&,
                                                    const std::vector<exchange::ImportRow>&);

engine::storage::TableSchema TableLayout(DataFolder& folder, const std::string& name) {
    folder.RequireTable(name);
    return *folder.Database().Connection().DescribeTable(name);
}

int ReportRejections(const exchange::ImportTarget& target,
                     const std::vector<exchange::Rejection>& rejections, std::ostream& err) {
    for (const auto& rejection : rejections)
        err << rejection.line << "行目: " << rejection.reason << "\n";
    err << "取り込みを中止しました。" << target.table << " 表は変更していません。\n";
    return kExitFailed;
}

// How many of the rows are new to the table.
int NewRows(DataFolder& folder, const exchange::ImportTarget& target,
            const std::vector<exchange::ImportRow>& rows) {
    auto table = folder.Table(target.table);
    table->Open();
    int added = 0;
    for (const auto& row : rows)
        if (!table->FindKey({row.key})) ++added;
    table->Close();
    return added;
}

int Write(DataFolder& folder, const exchange::ImportTarget& target,
          const exchange::ImportPlan& plan, std::ostream& out) {
    ImportCounts counts;
    try {
        counts = ApplyImport(folder, target, plan.rows);
    } catch (const std::exception& e) {
        throw AdminError(FailureText(e) + "\n取り込みを取り消しました。" + target.table +
                         " 表は変更していません。");
    }
    out << counts.added + counts.updated << "件を取り込みました（新規 " << counts.added
        << "件、更新 " << counts.updated << "件）\n";
    return kExitDone;
}

int Import(const exchange::ImportTarget& target, Checks checks, const CommandOptions& options,
           std::ostream& out, std::ostream& err) {
    DataFolder folder(options.positional[0]);
    auto layout = TableLayout(folder, target.table);
    auto plan = exchange::PlanImport(
        target, layout, exchange::ParseCsv(exchange::ReadFileText(options.positional[1])));
    if (!plan.rejections.empty()) return ReportRejections(target, plan.rejections, err);
    auto problems = checks(folder.Database().Connection(), plan.rows);
    if (!problems.empty()) return ReportRejections(target, problems, err);
    if (options.flags.count("--apply")) return Write(folder, target, plan, out);
    const int added = NewRows(folder, target, plan.rows);
    out << plan.rows.size() << "件を取り込みます（新規 " << added << "件、更新 "
        << plan.rows.size() - added << "件）\n";
    err << "まだ何も変えていません（--apply で取り込みます）。\n";
    return kExitDone;
}

int RunImport(const exchange::ImportTarget& target, Checks checks, const char* usage,
              const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {}, {"--apply"});
    if (!options || options->positional.size() != 2) {
        err << "使い方: kashidashi-admin " << usage << "\n";
        return kExitUsage;
    }
    return RunCommand(options->positional, 2, usage, err,
                      [&] { return Import(target, checks, *options, out, err); });
}

}  // namespace

int CommandImportUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunImport(exchange::UsersTarget(), library::holdings::UserImportProblems,
                     kImportUsersUsage, args, out, err);
}

int CommandImportBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunImport(exchange::BooksTarget(), library::holdings::BookImportProblems,
                     kImportBooksUsage, args, out, err);
}

}  // namespace kashidashi::admin
