#include "library/daily_backup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/common/dates.h"
#include "library/backup.h"
#include "library/backup_folder.h"

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

std::string Made(const BackupSummary& summary, size_t removed) {
    return "自動バックアップ " + fs::path(summary.file).filename().string() + " （" +
           std::to_string(summary.TotalRows()) + " 行、" + std::to_string(summary.bytes) +
           " バイト）を作りました。古いバックアップ " + std::to_string(removed) +
           " 個を削除しました。";
}

}  // namespace

std::string RunDailyBackup(const DataPlace& source, const std::string& folder, engine::Date today) {
    std::string line;
    try {
        FolderLock lock(folder);
        fs::path file = fs::path(folder) / DailyBackupName(today);
        if (!lock.Held() || fs::exists(file)) return "";  // another desk has it in hand
        BackupSummary summary = MakeBackup(source, file.string());
        summary.tables = BackupRowCounts(summary.file);
        line = Made(summary, ApplyRetention(folder).size());
    } catch (const std::exception& error) {
        line = "自動バックアップに失敗しました: " + std::string(error.what());
    }
    try {
        AppendLog(folder, line);
    } catch (...) {
        // A folder that cannot take the log cannot take the backup either; the
        // window says so when it lists the folder.
    }
    return line;
}

bool StartDailyBackupIfDue(const DataPlace& source, const std::string& folder, engine::Date today) {
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return false;
    if (fs::exists(fs::path(folder) / DailyBackupName(today), error)) return false;
    std::lock_guard<std::mutex> guard(threadsMutex);
    threads.emplace_back([source, folder, today] { RunDailyBackup(source, folder, today); });
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
