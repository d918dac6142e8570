// Whether the school's data are safe, as the main window tells it: the day
// of the last sound backup in the desk's backup folder, and a warning said
// once when the desk opens, when that backup is more than two school days
// (Monday to Friday) old or the backup folder cannot be found (a USB stick
// unplugged).
#pragma once

#include <optional>
#include <string>

#include "engine/common/value.h"

namespace kashidashi::library {

inline constexpr int kSchoolDaysBeforeWarning = 2;

struct BackupStatus {
    std::string line;     // for the main window, also when no folder is set
    std::string warning;  // "" when all is well
};

// `folder` is the desk's backup folder ("" none); `today` the clock's day.
BackupStatus DeskBackupStatus(const std::string& folder, engine::Date today);

// The school days (Monday to Friday) after `from` up to and including `to`.
int SchoolDaysBetween(engine::Date from, engine::Date to);

}  // namespace kashidashi::library
