// import-users FOLDER FILE and import-books FOLDER FILE: Name and Book rows
// from a CSV file whose header names the columns. Either every line is good
// and all are written, or nothing is written and every bad line is reported.

#include "data/failure_text.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/csv_reader.h"
#include "tools/data_folder.h"
#include "tools/import_rules.h"
#include "tools/import_writer.h"

namespace kashidashi::admin {
namespace {

engine::storage::TableSchema TableLayout(DataFolder& folder, const std::string& name) {
    folder.RequireTable(name);
    return *folder.Database().Connection().DescribeTable(name);
}

int ReportRejections(const ImportTarget& target, const ImportPlan& plan, std::ostream& err) {
    for (const auto& rejection : plan.rejections)
        err << rejection.line << "行目: " << rejection.reason << "\n";
    err << "取り込みを中止しました。" << target.table << " 表は変更していません。\n";
    return kExitFailed;
}

int Write(DataFolder& folder, const ImportTarget& target, const ImportPlan& plan,
          std::ostream& out) {
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

int Import(const ImportTarget& target, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
    DataFolder folder(args[0]);
    auto layout = TableLayout(folder, target.table);
    auto plan = PlanImport(target, layout, ParseCsv(ReadFileText(args[1])));
    if (!plan.rejections.empty()) return ReportRejections(target, plan, err);
    return Write(folder, target, plan, out);
}

}  // namespace

int CommandImportUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 2, kImportUsersUsage, err,
                      [&] { return Import(UsersTarget(), args, out, err); });
}

int CommandImportBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 2, kImportBooksUsage, err,
                      [&] { return Import(BooksTarget(), args, out, err); });
}

}  // namespace kashidashi::admin
