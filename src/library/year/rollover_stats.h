// The ending school year's statistics, saved beside the backup that the
// new school year takes first: every view of the stats module
// (SaveAllStatsViews: a CSV file and the print's PDF of each), in a folder
// named after the backup ("kashidashi-before-rollover-…-統計").
#pragma once

#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

// The school year that ends: in April and May the one that ended on March
// 31st, else the one holding `today`.
int EndingSchoolYear(engine::Date today);

// The folder of the statistics saved with the backup file.
std::string YearStatsFolder(const std::string& backupFile);

struct SavedStats {
    std::string folder;
    int year = 0;
    std::vector<std::string> files;
};

// Writes the files (the folder made first); `school` the school's name on
// the prints. Needs a Qt Gui application for the PDFs. Throws
// std::runtime_error naming a file that cannot be written, EngineError when
// the data cannot be read.
SavedStats SaveYearStats(engine::storage::Connection& connection, const std::string& backupFile,
                         engine::Date today, const std::string& school);

}  // namespace kashidashi::library
