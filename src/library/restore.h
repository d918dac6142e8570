// Restore: a backup file's ten data tables put in place of a data folder's
// or a server database's, all or nothing.
//
// Refused, with nothing changed, while any desk uses one of DEST's data
// tables (their exclusive use cannot be taken) or when the backup file is
// damaged or lacks a data table. Otherwise, with DEST's tables held so that
// no desk starts on them meanwhile, what DEST holds now is first backed up
// to `before` (when DEST has any data table), then in one transaction every
// data table of DEST is dropped and made again from the backup, each one's
// rows counted against the backup's before the commit.
#pragma once

#include <string>
#include <vector>

#include "library/backup.h"
#include "library/data_place.h"

namespace kashidashi::library {

struct RestoreSummary {
    std::string before;             // the backup of DEST taken first; "" when it held nothing
    std::vector<TableRows> tables;  // the rows restored
};

RestoreSummary Restore(const std::string& file, const DataPlace& dest, const std::string& before,
                       const Progress& progress = {});

// Problems of a backup file that make it unfit to restore: the storage's
// own check, then data tables missing. Empty when it is sound.
std::vector<std::string> BackupFileProblems(const std::string& file);

}  // namespace kashidashi::library
