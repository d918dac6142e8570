#include "library/year/rollover_stats.h"

#include <filesystem>

#include "engine/common/dates.h"
#include "library/stats/stats.h"
#include "library/stats/stats_save.h"

namespace kashidashi::library {

int EndingSchoolYear(engine::Date today) {
    const auto day = engine::ToCivil(today);
    return day.month <= 5 ? day.year - 1 : day.year;
}

std::string YearStatsFolder(const std::string& backupFile) {
    std::filesystem::path path(backupFile);
    return (path.parent_path() / (path.stem().string() + "-統計")).string();
}

SavedStats SaveYearStats(engine::storage::Connection& connection, const std::string& backupFile,
                         engine::Date today, const std::string& school) {
    SavedStats saved{YearStatsFolder(backupFile), EndingSchoolYear(today), {}};
    auto [from, to] = SchoolYear(saved.year);
    const std::string period = std::to_string(saved.year) + "年度（" + engine::FormatDate(from) +
                               " ～ " + engine::FormatDate(to) + "）";
    saved.files = SaveAllStatsViews(connection, from, to, period, school, saved.folder);
    return saved;
}

}  // namespace kashidashi::library
