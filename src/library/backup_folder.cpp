#include "library/backup_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>

#include "engine/common/dates.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "kashidashi-";
constexpr const char* kBeforeRestore = "kashidashi-before-restore-";

std::string Digits(engine::Date day) {
    auto civil = engine::ToCivil(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", civil.year, civil.month, civil.day);
    return text;
}

std::string Stamp(engine::DateTime moment) {
    int64_t secondsOfDay = (moment.msecs % engine::kMsecsPerDay) / 1000;
    char time[16];
    std::snprintf(time, sizeof time, "-%02d%02d%02d", static_cast<int>(secondsOfDay / 3600),
                  static_cast<int>(secondsOfDay / 60 % 60), static_cast<int>(secondsOfDay % 60));
    return Digits(engine::DatePart(moment)) + time;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string WrittenAt(const fs::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return "";
    std::tm local{};
    localtime_r(&info.st_mtime, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M", &local);
    return text;
}

// The automatic backups' names, newest first.
std::vector<std::string> DailyNewestFirst(const std::vector<std::string>& names) {
    std::vector<std::string> daily;
    for (const auto& name : names)
        if (DailyBackupDay(name)) daily.push_back(name);
    std::sort(daily.rbegin(), daily.rend());  // yyyymmdd sorts as the days do
    return daily;
}

// Of each of the newest months, the first backup of the month.
std::set<std::string> MonthlyKept(const std::vector<std::string>& newestFirst) {
    std::vector<std::string> oldestFirst(newestFirst.rbegin(), newestFirst.rend());
    std::vector<std::string> firsts;
    std::string month;
    for (const auto& name : oldestFirst) {
        std::string m = name.substr(std::string(kPrefix).size(), 6);
        if (m != month) firsts.push_back(name);
        month = m;
    }
    if (firsts.size() > static_cast<size_t>(kMonthlyKept))
        firsts.erase(firsts.begin(), firsts.end() - kMonthlyKept);
    return {firsts.begin(), firsts.end()};
}

std::string KindOf(const std::string& name, const std::vector<std::string>& daily,
                   const std::set<std::string>& monthly) {
    if (name.rfind(kBeforeRestore, 0) == 0) return "復元前";
    if (!DailyBackupDay(name)) return "手動";
    auto at = std::find(daily.begin(), daily.end(), name);
    bool recent = at - daily.begin() < kDailyKept;
    bool month = monthly.count(name) > 0;
    return recent && month ? "日次・月次" : month ? "月次" : "日次";
}

}  // namespace

std::string DailyBackupName(engine::Date day) {
    return kPrefix + Digits(day) + kBackupExtension;
}

std::string OnDemandBackupName(engine::DateTime moment) {
    return kPrefix + Stamp(moment) + kBackupExtension;
}

std::string BeforeRestoreName(engine::DateTime moment) {
    return kBeforeRestore + Stamp(moment) + kBackupExtension;
}

std::optional<engine::Date> DailyBackupDay(const std::string& name) {
    const std::string prefix = kPrefix, extension = kBackupExtension;
    if (name.size() != prefix.size() + 8 + extension.size() || name.rfind(prefix, 0) != 0 ||
        name.substr(prefix.size() + 8) != extension)
        return std::nullopt;
    std::string digits = name.substr(prefix.size(), 8);
    if (!AllDigits(digits)) return std::nullopt;
    int year = std::stoi(digits.substr(0, 4)), month = std::stoi(digits.substr(4, 2));
    int day = std::stoi(digits.substr(6, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    return engine::MakeDate(year, month, day);
}

std::vector<std::string> RetentionRemoves(const std::vector<std::string>& names) {
    auto daily = DailyNewestFirst(names);
    auto monthly = MonthlyKept(daily);
    std::vector<std::string> removed;
    for (size_t i = kDailyKept; i < daily.size(); ++i)
        if (!monthly.count(daily[i])) removed.push_back(daily[i]);
    return removed;
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && name.rfind(kPrefix, 0) == 0 &&
            name.size() > std::string(kBackupExtension).size() &&
            name.substr(name.size() - std::string(kBackupExtension).size()) == kBackupExtension)
            names.push_back(name);
    }
    auto daily = DailyNewestFirst(names);
    auto monthly = MonthlyKept(daily);
    std::vector<BackupEntry> entries;
    for (const auto& name : names) {
        fs::path path = fs::path(folder) / name;
        entries.push_back({name, path.string(), KindOf(name, daily, monthly), WrittenAt(path),
                           static_cast<int64_t>(fs::file_size(path, error))});
    }
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.madeAt != b.madeAt ? a.madeAt > b.madeAt : a.name > b.name;
    });
    return entries;
}

std::vector<std::string> ApplyRetention(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    auto removed = RetentionRemoves(names);
    for (const auto& name : removed) fs::remove(fs::path(folder) / name, error);
    return removed;
}

}  // namespace kashidashi::library
