// The backup folder of a desk: the names of its files, what is kept, and the
// list the バックアップ window shows.
//
// Names (every backup file ends in ".kxbak"):
//   kashidashi-YYYYMMDD.kxbak                 the day's automatic backup
//   kashidashi-YYYYMMDD-HHMMSS.kxbak          one made on demand
//   kashidashi-before-restore-YYYYMMDD-HHMMSS.kxbak
//                                             what the data held before a restore
// Retention, applied after every automatic backup to the automatic ones
// only: the 14 newest are kept (daily), and of each of the 12 newest months
// the first of the month (monthly); the others are removed. Backups made on
// demand or before a restore are kept until the librarian removes them.
// A backup is automatic by the mark in its manifest (backup_manifest.h),
// not by its name alone, and its day is the day the manifest says it was
// made. The backup just made is never removed, and nothing is removed when
// the clock is behind the newest backup (the clock is wrong: which backups
// are old cannot be told).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"

namespace kashidashi::library {

inline constexpr int kDailyKept = 14;
inline constexpr int kMonthlyKept = 12;
inline constexpr const char* kBackupExtension = ".kxbak";

std::string DailyBackupName(engine::Date day);
std::string OnDemandBackupName(engine::DateTime moment);
std::string BeforeRestoreName(engine::DateTime moment);

// The day of an automatic backup's name; nothing for every other name.
std::optional<engine::Date> DailyBackupDay(const std::string& name);

// Of the automatic backups' names, those the retention removes.
std::vector<std::string> RetentionRemoves(const std::vector<std::string>& names);

struct AutomaticBackup {
    std::string name;
    engine::Date day;  // the day it was made
};
// The same for backups whose days are known; `keep` is never removed.
std::vector<std::string> RetentionRemoves(std::vector<AutomaticBackup> backups,
                                          const std::string& keep);

struct BackupEntry {
    std::string name;
    std::string path;
    std::string kind;    // 日次, 月次, 日次・月次, 手動, 復元前
    std::string madeAt;  // yyyy/mm/dd hh:nn, the file's last write
    int64_t bytes = 0;
    std::string problem;  // why the file cannot be restored; "" when it is sound
};

// The backup files of `folder`, newest first, each checked against its
// checksum (a file unchanged since it was last checked is not read again).
// An unreadable folder lists none.
std::vector<BackupEntry> ListBackups(const std::string& folder, bool verify = true);

// The checksum problem of one backup file ("" when sound), remembered while
// the file stays as it was.
std::string CheckedSealProblem(const std::string& path);

struct RetentionOutcome {
    std::vector<std::string> removed;
    bool clockBehind = false;  // nothing removed: `today` is before the newest backup
};

// Removes what the retention removes of the automatic backups in `folder`,
// never `justMade`; `today` is the clock's day.
RetentionOutcome ApplyRetention(const std::string& folder, const std::string& justMade,
                                engine::Date today);

}  // namespace kashidashi::library
