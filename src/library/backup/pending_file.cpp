#include "library/backup/pending_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "engine/storage/sqlite/sqlite_connection.h"
#include "library/backup/backup_disk_full.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPartMark = ".part.";

void SyncPath(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        int error = errno;
        if (fd >= 0) ::close(fd);
        // A disk that fills only now (delayed allocation, a network share).
        ThrowWriteFailure(error, path,
                          "「" + path + "」をディスクに書き込めません: " + std::strerror(error));
    }
    ::close(fd);
}

std::string FolderOf(const std::string& file) {
    fs::path parent = fs::path(file).parent_path();
    return parent.empty() ? "." : parent.string();
}

// A staging folder "ANY.part.PID" whose process is gone.
bool Stale(const fs::path& entry) {
    std::error_code error;
    if (!fs::is_directory(entry, error)) return false;
    std::string name = entry.filename().string();
    size_t mark = name.rfind(kPartMark);
    if (mark == std::string::npos || mark == 0) return false;
    std::string pid = name.substr(mark + std::string(kPartMark).size());
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
        return false;
    return ::kill(std::stoi(pid), 0) != 0 && errno == ESRCH;
}

// Every staging folder of the folder that a killed backup left, whatever
// file it was for.
void RemoveStaleParts(const std::string& file) {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(FolderOf(file), ignored))
        if (Stale(entry.path())) fs::remove_all(entry.path(), ignored);
}

}  // namespace

void SyncFile(const std::string& path) {
    SyncPath(path, O_RDONLY);
}

void SyncFolder(const std::string& folder) {
    SyncPath(folder, O_RDONLY | O_DIRECTORY);
}

PendingFile::PendingFile(const std::string& file) : file_(file) {
    if (!fs::is_directory(FolderOf(file)))
        throw std::runtime_error("保存先のフォルダ「" + FolderOf(file) + "」がありません。");
    if (fs::exists(file))
        throw std::runtime_error("「" + file + "」はすでにあります。別の名前を指定してください。");
    RemoveStaleParts(file);
    staging_ = file + kPartMark + std::to_string(::getpid());
    std::error_code error;
    fs::remove_all(staging_, error);
    if (!fs::create_directory(staging_, error))
        ThrowWriteFailure(error.value(), file,
                          "「" + staging_ + "」を作れません: " + error.message());
}

PendingFile::~PendingFile() {
    std::error_code ignored;
    if (!staging_.empty()) fs::remove_all(staging_, ignored);
}

std::string PendingFile::Database() const {
    return staging_ + "/" + engine::storage::sqlite::kDatabaseFileName;
}

void PendingFile::Finish() {
    SyncFile(Database());
    // A file that appeared meanwhile is not replaced.
    if (fs::exists(file_))
        throw std::runtime_error("「" + file_ + "」はすでにあります。別の名前を指定してください。");
    std::error_code error;
    fs::rename(Database(), file_, error);
    if (error)
        ThrowWriteFailure(error.value(), file_,
                          "「" + file_ + "」を書けません: " + error.message());
    SyncFolder(FolderOf(file_));
}

}  // namespace kashidashi::library
