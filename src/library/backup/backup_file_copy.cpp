#include "library/backup/backup_file_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "library/backup/backup_disk_full.h"

namespace kashidashi::library {
namespace {

// A file descriptor closed when it goes.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

[[noreturn]] void Fail(const std::string& file, int error) {
    ThrowWriteFailure(error, file, "「" + file + "」に写せません: " + std::strerror(error));
}

// Writes all of `bytes`; a short write is tried again, so that the one that
// fails says why.
void WriteAll(int fd, const char* bytes, size_t size, const std::string& file) {
    while (size > 0) {
        ssize_t wrote = ::write(fd, bytes, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) Fail(file, wrote < 0 ? errno : ENOSPC);
        bytes += wrote;
        size -= static_cast<size_t>(wrote);
    }
}

}  // namespace

void CopyFileSynced(const std::string& from, const std::string& to) {
    Fd in{::open(from.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) Fail(from, errno);
    Fd out{::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)};
    if (out.fd < 0) Fail(to, errno);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t got = ::read(in.fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
            throw std::runtime_error("「" + from + "」を読めません: " + std::strerror(errno));
        if (got == 0) break;
        WriteAll(out.fd, buffer.data(), static_cast<size_t>(got), to);
    }
    if (::fsync(out.fd) != 0) Fail(to, errno);
    int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) Fail(to, errno);
}

}  // namespace kashidashi::library
