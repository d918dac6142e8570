#include "library/backup/restore.h"

#include <algorithm>
#include <stdexcept>

#include "data/schema.h"
#include "engine/common/names.h"
#include "engine/storage/copy_rows.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/data_layout.h"
#include "library/backup/desk_presence.h"
#include "library/backup/storage_check.h"
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

// The program's own tables the backup holds (the school's identity...), but
// not the backup's own manifest.
std::vector<std::string> OwnTables(Connection& from) {
    std::vector<std::string> own;
    for (const auto& name : from.TableNames()) {
        auto lower = engine::LowerName(name);
        if (lower.rfind("kx_", 0) == 0 && lower != kManifestTable) own.push_back(name);
    }
    return own;
}

// Columns of the data tables that the file lacks.
std::vector<std::string> MissingColumns(Connection& from) {
    std::vector<std::string> missing;
    for (const auto& [table, columns] : DataTableColumns()) {
        auto schema = from.DescribeTable(table);
        if (!schema) continue;  // said as a missing table
        for (const auto& column : columns)
            if (!schema->FindColumn(column))
                missing.push_back(table + " 表に " + column + " 列がありません");
    }
    return missing;
}

std::optional<SchoolPair> OtherSchool(const std::string& file, Connection& to) {
    auto manifest = ReadManifest(file);
    auto dest = ReadSchoolIdentity(to);
    if (!manifest || manifest->schoolId.empty() || !dest || dest->id.empty() ||
        manifest->schoolId == dest->id)
        return std::nullopt;
    return SchoolPair{{manifest->schoolId, manifest->schoolName}, *dest};
}

void AskAboutOtherSchool(const std::string& file, Connection& to,
                         const OtherSchoolQuestion& otherSchool) {
    auto other = OtherSchool(file, to);
    if (!other || (otherSchool && otherSchool(other->backup, other->dest))) return;
    throw std::runtime_error("このバックアップは別の学校（" + SchoolText(other->backup) +
                             "）のものです。復元先は" + SchoolText(other->dest) +
                             "です。何も変えていません。");
}

}  // namespace

std::optional<SchoolPair> OtherSchoolOf(const std::string& file, const DataPlace& dest) {
    PlaceConnection to(dest);
    return OtherSchool(file, *to);
}

std::string SchoolText(const SchoolIdentity& school) {
    return school.name.empty() ? "学校ID " + school.id : "「" + school.name + "」";
}

std::vector<std::string> BackupFileProblems(const std::string& file) {
    auto problems = SealProblems(file);
    if (!problems.empty()) return problems;
    problems = DatabaseFileProblems(file);
    if (!problems.empty()) return problems;
    for (const auto& table : BackupRowCounts(file))
        if (table.rows < 0) problems.push_back(table.table + " 表がありません");
    if (!problems.empty()) return problems;
    auto manifest = ReadManifest(file);
    if (manifest && manifest->layout > kDataLayoutVersion)
        return {"新しい版のプログラムで作られたバックアップです（データ表の版 " +
                std::to_string(manifest->layout) + "）"};
    PlaceConnection from(DataPlace::BackupFile(file));
    return MissingColumns(*from);
}

RestoreSummary Restore(const std::string& file, const DataPlace& dest, const std::string& before,
                       const Progress& progress, const OtherSchoolQuestion& otherSchool) {
    auto problems = BackupFileProblems(file);
    if (!problems.empty())
        throw std::runtime_error("バックアップファイル「" + file + "」は使えません（" +
                                 problems.front() + "）。何も変えていません。");
    PlaceConnection to(dest);
    RefuseWhileDesksOpen(*to, "復元");
    AskAboutOtherSchool(file, *to, otherSchool);
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
        for (const auto& name : OwnTables(*from)) Replace(*from, *to, name);
        to->Commit(true);
    } catch (...) {
        to->Rollback();
        throw;
    }
    return summary;
}

}  // namespace kashidashi::library
