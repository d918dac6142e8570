#include "library/backup/backup.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "data/schema.h"
#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/storage/sqlite/sqlite_connection.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/pending_file.h"
#include "library/backup/school_identity.h"

namespace kashidashi::library {
namespace {

// The rows of `table`, or -1 when the database lacks it.
int64_t CountRows(sqlite3* db, const std::string& table) {
    sqlite3_stmt* statement = nullptr;
    std::string sql = "SELECT count(*) FROM \"" + table + "\"";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return -1;
    }
    int64_t rows = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    return rows;
}

std::string SourceDatabase(const DataPlace& source) {
    if (source.kind == DataPlace::Kind::BackupFile) return source.path;
    return (std::filesystem::path(source.path) / engine::storage::sqlite::kDatabaseFileName)
        .string();
}

// Each data table is in the copy (a folder may lack some).
void RequireDataTables(const std::string& database, const DataPlace& source) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string missing;
    for (const auto& name : DataTableNames()) {
        sqlite3_stmt* find = nullptr;
        sqlite3_prepare_v2(
            db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE", -1,
            &find, nullptr);
        sqlite3_bind_text(find, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(find) != SQLITE_ROW && missing.empty()) missing = name;
        sqlite3_finalize(find);
    }
    sqlite3_close(db);
    if (!missing.empty())
        throw std::runtime_error("「" + source.Name() + "」に " + missing +
                                 " 表がありません。バックアップしませんでした。");
}

bool HasDataTables(engine::storage::Connection& connection) {
    for (const auto& name : DataTableNames())
        if (!connection.DescribeTable(name)) return false;
    return true;
}

// The school's identity, made in the source on first need (a folder or a
// server that holds the data tables; a backup file is only read).
SchoolIdentity SourceIdentity(const DataPlace& source, const std::string& name) {
    if (source.kind == DataPlace::Kind::BackupFile) {
        auto manifest = ReadManifest(source.path);
        if (manifest) return {manifest->schoolId, manifest->schoolName};
    }
    try {
        PlaceConnection connection(source);
        if (source.kind != DataPlace::Kind::BackupFile && HasDataTables(*connection))
            return EnsureSchoolIdentity(*connection, name);
        return ReadSchoolIdentity(*connection).value_or(SchoolIdentity{});
    } catch (const std::exception&) {
        return {};  // a source that cannot take it now: the copy says so, or has none
    }
}

}  // namespace

int64_t BackupSummary::TotalRows() const {
    int64_t total = 0;
    for (const auto& table : tables) total += std::max<int64_t>(table.rows, 0);
    return total;
}

std::vector<TableRows> BackupRowCounts(const std::string& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("「" + file + "」を開けません。");
    }
    std::vector<TableRows> tables;
    for (const auto& name : DataTableNames()) tables.push_back({name, CountRows(db, name)});
    sqlite3_close(db);
    return tables;
}

namespace {

BackupSummary MakeBackupIn(const DataPlace& source, const std::string& file,
                           const Progress& progress, const BackupOptions& options) {
    PendingFile pending(file);
    BackupManifest manifest;
    SchoolIdentity school = SourceIdentity(source, options.schoolName);
    manifest.schoolId = school.id;
    manifest.schoolName = school.name;
    manifest.madeAt = engine::FormatDateTime(options.madeAt.value_or(engine::Now()));
    manifest.automatic = options.automatic;
    if (source.kind == DataPlace::Kind::Server)
        CopyServerSnapshot(source.server, pending.Folder(), progress);
    else
        CopyDatabaseOnline(SourceDatabase(source), pending.Database(), progress);
    RequireDataTables(pending.Database(), source);
    SealBackup(pending.Database(), manifest);
    pending.Finish();
    BackupSummary summary;
    summary.file = file;
    summary.bytes = static_cast<int64_t>(std::filesystem::file_size(file));
    return summary;
}

}  // namespace

BackupSummary MakeBackup(const DataPlace& source, const std::string& file, const Progress& progress,
                         const BackupOptions& options) {
    try {
        return MakeBackupIn(source, file, progress, options);
    } catch (const engine::EngineError& error) {
        if (error.code() != engine::err::kDiskFull) throw;
        // The folder to make room in is FILE's, not the staging folder that
        // is gone already.
        std::filesystem::path folder = std::filesystem::path(file).parent_path();
        throw engine::EngineError(error.code(), error.what(),
                                  (folder.empty() ? "." : folder.string()) + "/");
    }
}

}  // namespace kashidashi::library
