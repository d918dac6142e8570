#include "library/backup/daily_backup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "data/failure_text.h"
#include "engine/common/dates.h"
#include "library/backup/backup.h"
#include "library/backup/backup_file_copy.h"
#include "library/backup/backup_folder.h"
#include "library/backup/backup_manifest.h"
#include "library/backup/check.h"
#include "library/backup/pending_file.h"
#include "library/backup/restore.h"
#include "platform/temp_folder.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLockName = ".kashidashi-backup.lck";

std::mutex threadsMutex;
std::vector<std::thread> threads;

// The folder's backup lock, held for one backup; not taken when another
// desk holds it.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder) {
        fd_ = ::open((fs::path(folder) / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);  // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

void AppendLog(const std::string& folder, const std::string& line) {
    std::ofstream log(fs::path(folder) / kBackupLogName, std::ios::app);
    log << engine::FormatDateTime(engine::Now()) << " " << line << "\n";
}

std::string OneLine(std::string text) {
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
        text.replace(at, 1, " ");
    return text;
}

// The backup copied into the second place under the same name, through a
// staging name synced before the rename, and the copy checked against its
// checksum. A full disk there is said as such (its first line only: the
// backup itself was made).
std::string CopyToSecondPlace(const std::string& file, const std::string& second) {
    std::error_code error;
    if (!fs::is_directory(second, error))
        return "2か所目の保存先「" + second + "」が見つからないため、写しを置けませんでした。";
    fs::path target = fs::path(second) / fs::path(file).filename();
    fs::path staging = target.string() + ".part." + std::to_string(::getpid());
    fs::remove(staging, error);
    try {
        CopyFileSynced(file, staging.string());
        fs::rename(staging, target, error);
        if (error) throw std::runtime_error(error.message());
        SyncFolder(second);
    } catch (const std::exception& failure) {
        fs::remove(staging, error);
        std::string why = FailureText(failure);
        return "2か所目の保存先「" + second +
               "」に写しを置けませんでした: " + why.substr(0, why.find('\n'));
    }
    auto problems = SealProblems(target.string());
    if (!problems.empty())
        return "2か所目の保存先「" + second + "」の写しが壊れています（" + problems.front() +
               "）。";
    return "2か所目の保存先「" + second + "」にも写しを置き、確かめました。";
}

std::string Made(const BackupSummary& summary, const RetentionOutcome& retention) {
    std::string line = "自動バックアップ " + fs::path(summary.file).filename().string() + " （" +
                       std::to_string(summary.TotalRows()) + " 行、" +
                       std::to_string(summary.bytes) + " バイト）を作りました。";
    if (retention.clockBehind)
        return line +
               "時計が最新のバックアップより前の日付になっているため、"
               "古いバックアップを削除しませんでした。時計を確かめてください。";
    return line + "古いバックアップ " + std::to_string(retention.removed.size()) +
           " 個を削除しました。";
}

// The backup restored into a scratch folder and checked there: what the log
// says of it.
std::string TestRestore(const std::string& file) {
    try {
        platform::TemporaryFolder scratch(ScratchPrefix() + "test-");
        Restore(file, DataPlace::Folder(scratch.Path()), scratch.File("before.kxbak"));
        CheckReport report = CheckPlace(DataPlace::Folder(scratch.Path()), false);
        if (report.Clean()) return "試しの復元と点検: 問題ありません。";
        return "試しの復元と点検: 問題 " + std::to_string(report.findings.size()) + " 件（" +
               report.findings.front() + "）";
    } catch (const std::exception& error) {
        return "試しの復元に失敗しました: " + OneLine(FailureText(error));
    }
}

}  // namespace

void AppendBackupLog(const std::string& folder, const std::string& line) {
    try {
        AppendLog(folder, line);
    } catch (...) {
        // A folder that cannot take the log: the window says what it can.
    }
}

std::string RunDailyBackup(const DataPlace& source, const std::string& folder, engine::Date today,
                           const std::string& schoolName, const std::string& second) {
    std::string line;
    try {
        FolderLock lock(folder);
        fs::path file = fs::path(folder) / DailyBackupName(today);
        if (!lock.Held() || fs::exists(file)) return "";  // another desk has it in hand
        BackupOptions options;
        options.automatic = true;
        options.schoolName = schoolName;
        // The day given, at the clock's time of day.
        options.madeAt = engine::MakeDateTime(today);
        options.madeAt->msecs += engine::Now().msecs % engine::kMsecsPerDay;
        BackupSummary summary = MakeBackup(source, file.string(), {}, options);
        summary.tables = BackupRowCounts(summary.file);
        line = Made(summary, ApplyRetention(folder, file.filename().string(), today)) + " " +
               TestRestore(summary.file);
        if (!second.empty()) line += " " + CopyToSecondPlace(summary.file, second);
    } catch (const std::exception& error) {
        line = "自動バックアップに失敗しました: " + OneLine(FailureText(error));
    }
    try {
        AppendLog(folder, line);
    } catch (...) {
        // A folder that cannot take the log cannot take the backup either; the
        // window says so when it lists the folder.
    }
    return line;
}

bool StartDailyBackupIfDue(const DataPlace& source, const std::string& folder, engine::Date today,
                           const std::string& schoolName, const std::string& second) {
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return false;
    if (fs::exists(fs::path(folder) / DailyBackupName(today), error)) return false;
    std::lock_guard<std::mutex> guard(threadsMutex);
    threads.emplace_back([source, folder, today, schoolName, second] {
        RunDailyBackup(source, folder, today, schoolName, second);
    });
    return true;
}

void WaitForDailyBackups() {
    std::vector<std::thread> started;
    {
        std::lock_guard<std::mutex> guard(threadsMutex);
        started.swap(threads);
    }
    for (auto& thread : started) thread.join();
}

std::string LastBackupLogLine(const std::string& folder) {
    std::ifstream log(fs::path(folder) / kBackupLogName);
    std::string line, last;
    while (std::getline(log, line))
        if (!line.empty()) last = line;
    return last;
}

}  // namespace kashidashi::library
