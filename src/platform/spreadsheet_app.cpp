#include "platform/spreadsheet_app.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/shell.h"

extern char** environ;

namespace platform {
namespace {

constexpr const char* kXlsxType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// What a program prints on its standard output (at most 4 KB); "" when it
// cannot be started. Descriptors 3 and above stay behind (the lock files).
std::string OutputOf(std::vector<std::string> args) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string out;
    char buffer[512];
    ssize_t n;
    while (started && out.size() < 4096 &&
           ((n = read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0) out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    while (started && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return out;
}

bool HasNonBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

// A program file with a "/" in its name as it stands, else a command of PATH.
bool ProgramExists(const std::string& name) {
    if (name.find('/') != std::string::npos) return access(name.c_str(), X_OK) == 0;
    return HasNonBlank(OutputOf({"sh", "-c", "command -v \"$0\"", name}));
}

}  // namespace

bool SpreadsheetApplicationFound() noexcept {
    try {
        const char* opener = std::getenv("KASHIDASHI_OPENER");
        if (opener != nullptr && *opener != '\0') return ProgramExists(opener);
        return ProgramExists("xdg-open") &&
               HasNonBlank(OutputOf({"xdg-mime", "query", "default", kXlsxType}));
    } catch (...) {
        return false;
    }
}

bool OpenInSpreadsheetApplication(const std::string& path) noexcept {
    return ShellOpen(path);
}

}  // namespace platform
