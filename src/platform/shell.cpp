#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
        if (c != prefix[i]) return false;
    }
    return true;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The program file for a command name: a name with a "/" as it stands, else the first
// executable match in PATH; "" when there is none.
std::string FindInPath(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    const char* env = std::getenv("PATH");
    const std::string path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        // An empty entry of PATH means the current folder.
        const std::string candidate =
            (end > start ? path.substr(start, end - start) : std::string(".")) + "/" + name;
        if (IsExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

// A descriptor number of at least 3, so that the child's dup2 onto 0 cannot hit it.
int MoveAboveStandard(int fd) {
    if (fd > 2) return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    close(fd);
    return moved;
}

// Runs in the grandchild, between fork and exec: async-signal-safe calls only.
[[noreturn]] void ExecChild(const char* program, char* const* argv, int reportFd, int maxFd) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    for (int sig : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2}) {
        sigaction(sig, &dfl, nullptr);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0 && devNull != 0) {
        dup2(devNull, 0);
        close(devNull);
    }
    // Close every other descriptor (the engine's lock files must not outlive this program).
    bool closed = reportFd == 3 || close_range(3, static_cast<unsigned>(reportFd - 1), 0) == 0;
    closed = closed && close_range(static_cast<unsigned>(reportFd + 1), ~0U, 0) == 0;
    if (!closed) {
        for (int fd = 3; fd < maxFd; ++fd) {
            if (fd != reportFd) close(fd);
        }
    }
    execve(program, argv, environ);
    const int error = errno;
    (void)!write(reportFd, &error, sizeof error);
    _exit(127);
}

// Starts program with argv detached (double fork); true when its exec succeeded.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& args) {
    std::vector<std::string> storage;
    storage.reserve(args.size() + 1);
    storage.push_back(program);
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : storage) argv.push_back(s.data());
    argv.push_back(nullptr);

    struct rlimit limit {};
    int maxFd = 1024;
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        maxFd = static_cast<int>(limit.rlim_cur < 65536 ? limit.rlim_cur : 65536);
    }

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const int readFd = MoveAboveStandard(fds[0]);
    const int writeFd = MoveAboveStandard(fds[1]);
    if (readFd < 0 || writeFd < 0) {
        if (readFd >= 0) close(readFd);
        if (writeFd >= 0) close(writeFd);
        return false;
    }

    const pid_t child = fork();
    if (child < 0) {
        close(readFd);
        close(writeFd);
        return false;
    }
    if (child == 0) {
        // The intermediate process: a new session, one more fork, and gone at once, so the
        // program is adopted by init (or a subreaper) and never becomes our zombie.
        close(readFd);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) ExecChild(program.c_str(), argv.data(), writeFd, maxFd);
        if (grandchild < 0) {
            const int error = errno;
            (void)!write(writeFd, &error, sizeof error);
            _exit(1);
        }
        _exit(0);
    }
    close(writeFd);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // End of file: the exec succeeded (the descriptor closed on exec); a number: it failed.
    int error = 0;
    ssize_t n;
    while ((n = read(readFd, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(readFd);
    return n == 0;
}

bool OpenWithOpener(const std::string& what) {
    const char* env = std::getenv("KASHIDASHI_OPENER");
    const std::string opener = FindInPath(env != nullptr && *env != '\0' ? env : "xdg-open");
    if (opener.empty()) return false;
    return SpawnDetached(opener, {what});
}

bool Open(std::string_view target, std::string_view arguments) {
    if (target.empty() || target.find('\0') != std::string_view::npos) return false;
    if (IsWebAddress(target)) return OpenWithOpener(std::string(target));

    std::string local = MapToLocalPath(target);
    struct stat st;
    if (stat(local.c_str(), &st) != 0) {
        // A bare program name that is not in the current folder: look in PATH, as the shell does.
        if (local.find('/') != std::string::npos) return false;
        const std::string found = FindInPath(local);
        if (found.empty()) return false;
        return SpawnDetached(found, SplitWindowsArguments(arguments));
    }
    if (local.find('/') == std::string::npos) local = "./" + local;
    if (S_ISREG(st.st_mode) && access(local.c_str(), X_OK) == 0) {
        return SpawnDetached(local, SplitWindowsArguments(arguments));
    }
    return OpenWithOpener(local);
}

}  // namespace

bool IsWebAddress(std::string_view target) noexcept {
    return StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://");
}

std::vector<std::string> SplitWindowsArguments(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= n) break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            const char c = line[i];
            if (!quoted && (c == ' ' || c == '\t')) break;
            if (c == '\\') {
                std::size_t count = 0;
                while (i < n && line[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
                continue;
            }
            arg += c;
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

bool ShellOpen(std::string_view target, std::string_view arguments) noexcept {
    try {
        return Open(target, arguments);
    } catch (...) {
        return false;
    }
}

}  // namespace platform
