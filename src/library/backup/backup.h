// A backup: a consistent copy of a school's ten data tables in one SQLite
// file, taken while desks go on lending. The file is a data folder's
// database file in all but its name, so every command that reads a data
// folder reads it too (DataPlace::BackupFile).
//
// Each file carries a manifest (backup_manifest.h): the layout version, the
// school's identity (made in the source on first need, school_identity.h),
// when it was made, whether by the day's automatic backup, and a checksum of
// the whole file.
//
// MakeBackup writes it under a staging name and gives it FILE's name only
// when it is complete and synced (PendingFile): a backup that fails or is
// killed leaves no file under FILE's name and the source untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "library/backup/backup_copy.h"
#include "library/data_place.h"

namespace kashidashi::library {

struct TableRows {
    std::string table;
    int64_t rows = 0;
};

struct BackupSummary {
    std::string file;
    int64_t bytes = 0;
    std::vector<TableRows> tables;  // filled by those who show them (BackupRowCounts)
    int64_t TotalRows() const;
};

struct BackupOptions {
    std::string schoolName;  // the desk's name of the school; "" keeps the stored one
    bool automatic = false;  // the day's automatic backup
    std::optional<engine::DateTime> madeAt;  // nothing: the clock's now
};

// Throws std::runtime_error or EngineError (a message for the operator) when
// the source cannot be read, lacks a data table, or FILE cannot be written;
// FILE then does not exist.
BackupSummary MakeBackup(const DataPlace& source, const std::string& file,
                         const Progress& progress = {}, const BackupOptions& options = {});

// The row counts of the ten data tables in a backup file; a table the file
// lacks counts -1. Throws std::runtime_error when the file is no database.
std::vector<TableRows> BackupRowCounts(const std::string& file);

}  // namespace kashidashi::library
