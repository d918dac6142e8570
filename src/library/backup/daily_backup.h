// The automatic backup of the day, made by the desk's first opening of the
// day in a thread of its own, so that no scan waits for it: the thread has
// its own connection (or its own file handles) and reads the data as any
// other reader does, a step at a time.
//
// StartIfDue starts it when `folder` is set and exists and holds no backup
// of `today` yet; a second desk that starts one into the same folder at the
// same moment finds the folder's backup lock held and leaves the work to
// the first. After the backup the retention is applied (backup_folder.h),
// and the backup is restored into a scratch folder and checked there (a
// test restore).
// Every outcome, good or bad, is one line appended to the folder's log file
// (kashidashi-backup.log), which the バックアップ window shows: a thread may
// show no message box. Nothing here throws.
#pragma once

#include <string>

#include "engine/common/value.h"
#include "library/data_place.h"

namespace kashidashi::library {

inline constexpr const char* kBackupLogName = "kashidashi-backup.log";

// True when a backup was started.
// A `second` place set: each automatic backup is copied there too and the
// copy checked against its checksum; the log says so.
bool StartDailyBackupIfDue(const DataPlace& source, const std::string& folder, engine::Date today,
                           const std::string& schoolName = "", const std::string& second = "");
// Waits for every backup started so far (the program's end, tests).
void WaitForDailyBackups();

// The day's backup itself, in the calling thread: what the log says of it.
std::string RunDailyBackup(const DataPlace& source, const std::string& folder, engine::Date today,
                           const std::string& schoolName = "", const std::string& second = "");

// Appends one line, with the clock's time, to `folder`'s log; nothing
// when it cannot.
void AppendBackupLog(const std::string& folder, const std::string& line);

// The last line of the folder's log; "" when there is none.
std::string LastBackupLogLine(const std::string& folder);

}  // namespace kashidashi::library
