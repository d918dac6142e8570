#include "library/restore.h"

#include <stdexcept>

#include "data/schema.h"
#include "engine/storage/copy_rows.h"
#include "library/storage_check.h"
#include "library/table_hold.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;
using engine::storage::TableSchema;

// One table of DEST made again from the backup; its rows as counted.
TableRows Replace(Connection& from, Connection& to, const std::string& name) {
    TableSchema schema = *from.DescribeTable(name);
    if (to.DescribeTable(name)) to.DropTable(name);
    to.CreateTable(schema);
    int64_t copied = engine::storage::CopyRows(from, to, schema);
    int64_t written = to.Count(*to.DescribeTable(name), nullptr);
    if (copied != from.Count(schema, nullptr) || written != copied)
        throw std::runtime_error(name + " 表の行数が合いません。何も変えていません。");
    return {name, written};
}

bool HoldsDataTables(Connection& connection) {
    for (const auto& name : DataTableNames())
        if (connection.DescribeTable(name)) return true;
    return false;
}

}  // namespace

std::vector<std::string> BackupFileProblems(const std::string& file) {
    auto problems = DatabaseFileProblems(file);
    if (!problems.empty()) return problems;
    for (const auto& table : BackupRowCounts(file))
        if (table.rows < 0) problems.push_back(table.table + " 表がありません");
    return problems;
}

RestoreSummary Restore(const std::string& file, const DataPlace& dest, const std::string& before,
                       const Progress& progress) {
    auto problems = BackupFileProblems(file);
    if (!problems.empty())
        throw std::runtime_error("バックアップファイル「" + file + "」は使えません（" +
                                 problems.front() + "）。何も変えていません。");
    PlaceConnection to(dest);
    TableHold hold(*to, DataTableNames(), "復元");
    RestoreSummary summary;
    if (HoldsDataTables(*to)) {
        MakeBackup(dest, before, progress);
        summary.before = before;
    }
    PlaceConnection from(DataPlace::BackupFile(file));
    to->Begin();
    try {
        for (const auto& name : DataTableNames())
            summary.tables.push_back(Replace(*from, *to, name));
        to->Commit(true);
    } catch (...) {
        to->Rollback();
        throw;
    }
    return summary;
}

}  // namespace kashidashi::library
