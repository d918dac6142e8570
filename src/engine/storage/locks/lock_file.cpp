#include "engine/storage/locks/lock_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/common/error.h"
#include "engine/common/names.h"

namespace engine::storage {
namespace {

// Why the lock file at `path` could not be opened or locked (`error` is the
// system's number): a medium that takes no writes, a full disk, or the file
// itself (a folder in its place, no permission to it).
EngineError LockFileError(const std::string& path, int error) {
    std::string folder = path.substr(0, path.rfind('/') + 1);
    std::string text = std::strerror(error);
    bool fileExists = access(path.c_str(), F_OK) == 0;
    if (error == EROFS || ((error == EACCES || error == EPERM) && !fileExists))
        return EngineError::Make(err::kReadOnlyFolder, folder, text);
    if (error == ENOSPC || error == EDQUOT) return EngineError::Make(err::kDiskFull, folder, text);
    return EngineError::Make(err::kLockFileUnusable, path, text);
}

constexpr int kSlotBits = 40;
constexpr uint64_t kSlotCount = uint64_t{1} << 22;

bool SetLock(int fd, short type, uint64_t offset) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = 1;
    lock.l_pid = 0;  // required by open-file-description locks
    while (fcntl(fd, F_OFD_SETLK, &lock) == -1) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        throw LockFileError("lock file", errno);
    }
    return true;
}

uint64_t Slot(const std::string& table) {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : LowerName(table)) hash = (hash ^ c) * 1099511628211ull;
    return hash % kSlotCount;
}

}  // namespace

LockFile::LockFile(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw LockFileError(path, errno);
}

LockFile::~LockFile() {
    if (fd_ >= 0) close(fd_);
}

bool LockFile::TryLock(uint64_t offset, LockKind kind) {
    return SetLock(fd_, kind == LockKind::Shared ? F_RDLCK : F_WRLCK, offset);
}

void LockFile::Unlock(uint64_t offset) {
    SetLock(fd_, F_UNLCK, offset);
}

void LockFile::WriteText(uint64_t offset, const std::string& text, size_t size) {
    std::string bytes = text.substr(0, size);
    bytes.resize(size, '\0');
    if (pwrite(fd_, bytes.data(), size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size))
        throw EngineError::Make(err::kIoError, "lock file", std::strerror(errno));
}

std::string LockFile::ReadText(uint64_t offset, size_t size) {
    std::string bytes(size, '\0');
    ssize_t got = pread(fd_, bytes.data(), size, static_cast<off_t>(offset));
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes.substr(0, bytes.find('\0'));
}

// Past the last table slot's last byte: no table or row lock reaches it.
uint64_t LockFile::DeskMarkOffset(int desk) {
    return (kSlotCount << kSlotBits) + 1 + static_cast<uint64_t>(desk);
}

uint64_t LockFile::TableOffset(const std::string& table) {
    return Slot(table) << kSlotBits;
}

uint64_t LockFile::RowOffset(const std::string& table, int64_t rowId) {
    return TableOffset(table) + static_cast<uint64_t>(rowId);
}

}  // namespace engine::storage
