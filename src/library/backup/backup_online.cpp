// The online copy of a database file, in steps that never hold the file
// longer than the lock rule allows a desk to wait.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "library/backup/backup_copy.h"
#include "library/backup/backup_disk_full.h"
#include "library/backup/backup_out_vfs.h"

namespace kashidashi::library {
namespace {

using Clock = std::chrono::steady_clock;

constexpr double kFirstStepMs = 40;   // a step's length while nothing restarts the copy
constexpr int kFirstStepPages = 256;  // before the speed is known
constexpr auto kBusyPause = std::chrono::milliseconds(5);
constexpr const char* kCopyPragmas = "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF";
constexpr auto kGiveUpAfter = std::chrono::minutes(10);
// The desks that may queue behind one step, each waiting for it in turn:
// the longest step is their share of a third of the lock rule's wait, so
// that the last of them still waits no more than that third.
constexpr double kDesksQueued = 4;

// An open SQLite handle, closed when it goes.
class Handle {
  public:
    Handle(const std::string& path, int flags, const char* fileSystem = nullptr) {
        if (sqlite3_open_v2(path.c_str(), &db_, flags, fileSystem) != SQLITE_OK) {
            std::string why = db_ ? sqlite3_errmsg(db_) : "open failed";
            sqlite3_close(db_);
            throw std::runtime_error("「" + path + "」を開けません: " + why);
        }
    }
    ~Handle() { sqlite3_close(db_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    sqlite3* operator*() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

// How many pages the next step copies: as many as the step's length allows
// at the speed of the last step (a restarted copy reads pages no longer in
// the cache, and the machine may be busy: the speed is learnt anew each
// step, so that a step never runs on at an old, faster speed).
class StepSize {
  public:
    explicit StepSize(double longestMs) : longestMs_(longestMs) {}
    int Pages() const {
        if (pagesPerMs_ <= 0) return kFirstStepPages;
        return std::max(16, static_cast<int>(pagesPerMs_ * stepMs_));
    }
    void Measured(int pages, double ms) {
        if (pages > 0 && ms > 0.05) pagesPerMs_ = pages / ms;
    }
    // A commit between two steps started the copy again: longer steps.
    void Restarted() { stepMs_ = std::min(stepMs_ * 2, longestMs_); }

  private:
    double longestMs_;
    double stepMs_ = kFirstStepMs;
    double pagesPerMs_ = 0;
};

// A full disk is the engine's own failure, so that it reads as such
// everywhere (data/failure_text.h); the code is the step's, since the
// handles hold no message of it (the copy's file system calls every kind of
// full disk SQLITE_FULL).
[[noreturn]] void ThrowCopyFailure(int rc, const std::string& source, const std::string& target) {
    if ((rc & 0xff) == SQLITE_FULL)
        ThrowDiskFull(std::filesystem::path(target).parent_path().string() + "/",
                      sqlite3_errstr(rc));
    throw std::runtime_error("「" + source + "」の写しを取れません: " + sqlite3_errstr(rc));
}

// Steps until the copy is done; throws when it fails or never gets through.
void StepThrough(sqlite3_backup* backup, const std::string& target, const std::string& source,
                 const Progress& progress, StepSize& size) {
    const auto start = Clock::now();
    int lastRemaining = -1;
    for (;;) {
        const int pages = size.Pages();
        const auto before = Clock::now();
        const int rc = sqlite3_backup_step(backup, pages);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
        if (rc == SQLITE_DONE) return;
        if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            ThrowCopyFailure(rc, source, target);
        if (Clock::now() - start > kGiveUpAfter)
            throw std::runtime_error("「" + source +
                                     "」は変更が続いたため、写しを取れませんでした。"
                                     "しばらくしてからもう一度お試しください。");
        if (rc != SQLITE_OK) {
            std::this_thread::sleep_for(kBusyPause);  // a desk commits: let it
            continue;
        }
        const int remaining = sqlite3_backup_remaining(backup);
        const int total = sqlite3_backup_pagecount(backup);
        // A commit started the copy again: more remains than the step left.
        if (lastRemaining >= 0 && remaining > lastRemaining - pages) size.Restarted();
        size.Measured(pages, ms);
        lastRemaining = remaining;
        if (progress) progress(total - remaining, total);
        std::this_thread::yield();  // the file is free between two steps
    }
}

}  // namespace

void CopyDatabaseOnline(const std::string& source, const std::string& target,
                        const Progress& progress, engine::storage::LockRule rule) {
    if (!std::filesystem::is_regular_file(source))
        throw std::runtime_error("「" + source + "」がありません。データ表のない場所です。");
    // Read-write as a desk opens it, so that the journal of a desk killed
    // in a commit is rolled back first; the copy writes nothing there.
    Handle from(source, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    // Pages read straight from the mapped file, not a read call each.
    sqlite3_exec(*from, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
    Handle to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
              BackupOutFileSystem());
    // Nobody else opens the copy: no journal, no lock calls, no sync but
    // the one of the whole file when it is complete; its pages are written
    // once, at the end.
    sqlite3_exec(*to, kCopyPragmas, nullptr, nullptr, nullptr);
    sqlite3_backup* backup = sqlite3_backup_init(*to, "main", *from, "main");
    if (!backup) ThrowCopyFailure(sqlite3_errcode(*to), source, target);
    StepSize size(rule.retryCount * rule.waitMs / 3.0 / kDesksQueued);
    try {
        StepThrough(backup, target, source, progress, size);
    } catch (...) {
        sqlite3_backup_finish(backup);
        throw;
    }
    if (int rc = sqlite3_backup_finish(backup); rc != SQLITE_OK)
        ThrowCopyFailure(rc, source, target);
    if (int rc = FlushBackupOut(*to); rc != SQLITE_OK) ThrowCopyFailure(rc, source, target);
}

}  // namespace kashidashi::library
