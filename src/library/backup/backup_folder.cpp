#include "library/backup/backup_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

#include "engine/common/dates.h"
#include "library/backup/backup_manifest.h"

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

void NewestFirst(std::vector<AutomaticBackup>& backups) {
    std::sort(backups.begin(), backups.end(), [](const auto& a, const auto& b) {
        return a.day.days != b.day.days ? a.day.days > b.day.days : a.name > b.name;
    });
}

int MonthOf(engine::Date day) {
    auto civil = engine::ToCivil(day);
    return civil.year * 12 + civil.month;
}

// Of each of the newest months, the first backup of the month.
std::set<std::string> MonthlyKept(const std::vector<AutomaticBackup>& newestFirst) {
    std::vector<std::string> firsts;  // newest month first
    for (size_t i = 0; i < newestFirst.size(); ++i) {
        bool last = i + 1 == newestFirst.size() ||
                    MonthOf(newestFirst[i + 1].day) != MonthOf(newestFirst[i].day);
        if (last) firsts.push_back(newestFirst[i].name);  // the oldest of its month
    }
    if (firsts.size() > static_cast<size_t>(kMonthlyKept)) firsts.resize(kMonthlyKept);
    return {firsts.begin(), firsts.end()};
}

std::string AutomaticKind(const std::string& name, const std::vector<AutomaticBackup>& newestFirst,
                          const std::set<std::string>& monthly) {
    size_t at = 0;
    while (at < newestFirst.size() && newestFirst[at].name != name) ++at;
    bool recent = at < static_cast<size_t>(kDailyKept);
    bool month = monthly.count(name) > 0;
    return recent && month ? "日次・月次" : month ? "月次" : "日次";
}

bool IsBackupName(const std::string& name) {
    const std::string extension = kBackupExtension;
    return name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

// What the files of `folder` say of themselves.
struct FolderFile {
    std::string name;
    std::optional<BackupManifest> manifest;
};

std::vector<FolderFile> BackupFiles(const std::string& folder) {
    std::vector<FolderFile> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && IsBackupName(name))
            files.push_back({name, ReadManifest(entry.path().string())});
    }
    return files;
}

// The automatic backups among them, by their marks, with the days they were made.
std::vector<AutomaticBackup> Automatic(const std::vector<FolderFile>& files) {
    std::vector<AutomaticBackup> automatic;
    for (const auto& file : files) {
        if (!file.manifest || !file.manifest->automatic) continue;
        auto made = engine::ParseDateTime(file.manifest->madeAt);
        if (made) automatic.push_back({file.name, engine::DatePart(*made)});
    }
    NewestFirst(automatic);
    return automatic;
}

// A file's checksum problems, remembered while the file stays as it was.
std::string SealProblem(const fs::path& path) {
    static std::mutex mutex;
    static std::map<std::string, std::pair<std::string, std::string>>
        known;  // path -> stamp, problem
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return "読めません";
    std::string stamp = std::to_string(info.st_size) + "/" + std::to_string(info.st_mtim.tv_sec) +
                        "." + std::to_string(info.st_mtim.tv_nsec);
    {
        std::lock_guard<std::mutex> guard(mutex);
        auto it = known.find(path.string());
        if (it != known.end() && it->second.first == stamp) return it->second.second;
    }
    auto problems = SealProblems(path.string());
    std::string problem = problems.empty() ? "" : problems.front();
    std::lock_guard<std::mutex> guard(mutex);
    known[path.string()] = {stamp, problem};
    return problem;
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
    std::vector<AutomaticBackup> backups;
    for (const auto& name : names)
        if (auto day = DailyBackupDay(name)) backups.push_back({name, *day});
    return RetentionRemoves(std::move(backups), "");
}

std::vector<std::string> RetentionRemoves(std::vector<AutomaticBackup> backups,
                                          const std::string& keep) {
    NewestFirst(backups);
    auto monthly = MonthlyKept(backups);
    std::vector<std::string> removed;
    for (size_t i = kDailyKept; i < backups.size(); ++i)
        if (!monthly.count(backups[i].name) && backups[i].name != keep)
            removed.push_back(backups[i].name);
    return removed;
}

std::string CheckedSealProblem(const std::string& path) {
    return SealProblem(path);
}

std::vector<BackupEntry> ListBackups(const std::string& folder, bool verify) {
    auto files = BackupFiles(folder);
    auto automatic = Automatic(files);
    auto monthly = MonthlyKept(automatic);
    std::vector<BackupEntry> entries;
    std::error_code error;
    for (const auto& file : files) {
        fs::path path = fs::path(folder) / file.name;
        std::string kind = file.name.rfind(kBeforeRestore, 0) == 0 ? "復元前"
                           : file.manifest && file.manifest->automatic
                               ? AutomaticKind(file.name, automatic, monthly)
                               : "手動";
        entries.push_back({file.name, path.string(), kind, WrittenAt(path),
                           static_cast<int64_t>(fs::file_size(path, error)),
                           verify ? SealProblem(path) : ""});
    }
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.madeAt != b.madeAt ? a.madeAt > b.madeAt : a.name > b.name;
    });
    return entries;
}

RetentionOutcome ApplyRetention(const std::string& folder, const std::string& justMade,
                                engine::Date today) {
    RetentionOutcome outcome;
    auto automatic = Automatic(BackupFiles(folder));
    if (!automatic.empty() && automatic.front().day.days > today.days) {
        outcome.clockBehind = true;
        return outcome;
    }
    outcome.removed = RetentionRemoves(automatic, justMade);
    std::error_code error;
    for (const auto& name : outcome.removed) fs::remove(fs::path(folder) / name, error);
    return outcome;
}

}  // namespace kashidashi::library
