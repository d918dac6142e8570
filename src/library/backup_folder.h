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

struct BackupEntry {
    std::string name;
    std::string path;
    std::string kind;    // 日次, 月次, 日次・月次, 手動, 復元前
    std::string madeAt;  // yyyy/mm/dd hh:nn, the file's last write
    int64_t bytes = 0;
};

// The backup files of `folder`, newest first. An unreadable folder lists none.
std::vector<BackupEntry> ListBackups(const std::string& folder);

// Removes what the retention removes; the names removed.
std::vector<std::string> ApplyRetention(const std::string& folder);

}  // namespace kashidashi::library
