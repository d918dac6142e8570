#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "platform/cp932.h"
#include "platform/utf8.h"

namespace platform {

bool IsPathSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}

bool IsDrivePath(std::string_view path) noexcept {
    if (path.size() < 2 || path[1] != ':') return false;
    const char c = path[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsUncPath(std::string_view path) noexcept {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

std::vector<std::size_t> SeparatorPositions(std::string_view path) {
    std::vector<std::size_t> positions;
    if (utf8::IsValid(path)) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (IsPathSeparator(path[i])) positions.push_back(i);
        }
        return positions;
    }
    // CP932 bytes: skip the second byte of every double-byte character.
    for (std::size_t i = 0; i < path.size();) {
        const auto b = static_cast<unsigned char>(path[i]);
        if (IsCp932LeadByte(b) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (IsPathSeparator(path[i])) positions.push_back(i);
        ++i;
    }
    return positions;
}

std::size_t LastSeparator(std::string_view path) {
    if (path.empty()) return std::string_view::npos;
    const char last = path.back();
    // Fast answers: "/" is never a CP932 second byte, and in UTF-8 "\" never is either.
    if (last == '/') return path.size() - 1;
    if (last == '\\' && utf8::IsValid(path)) return path.size() - 1;
    const auto positions = SeparatorPositions(path);
    return positions.empty() ? std::string_view::npos : positions.back();
}

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && LastSeparator(path) == path.size() - 1;
}

std::string WithTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (path.empty() || EndsWithSeparator(path)) return result;
    char separator = '/';
    if (IsDrivePath(path) || IsUncPath(path)) {
        separator = '\\';
    } else {
        const std::size_t last = LastSeparator(path);
        if (last != std::string_view::npos && path[last] == '\\') separator = '\\';
    }
    result += separator;
    return result;
}

std::string DriveRootFolder() {
    std::string root;
    if (const char* env = std::getenv("KASHIDASHI_DRIVE_ROOT"); env != nullptr && *env != '\0') {
        root = env;
    } else {
        std::string home;
        if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0') {
            home = h;
        } else {
            struct passwd pw;
            struct passwd* found = nullptr;
            char buffer[4096];
            if (getpwuid_r(getuid(), &pw, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
                found->pw_dir != nullptr) {
                home = found->pw_dir;
            }
            if (home.empty()) home = "/tmp";
        }
        root = home + "/.kashidashi";
    }
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

namespace {

// Appends path[from, end) to out with every separator (at the given positions) as "/".
void AppendWithSlashes(std::string& out, std::string_view path, std::size_t from,
                       const std::vector<std::size_t>& separators) {
    std::size_t next = 0;
    while (next < separators.size() && separators[next] < from) ++next;
    for (std::size_t i = from; i < path.size(); ++i) {
        if (next < separators.size() && separators[next] == i) {
            out += '/';
            ++next;
        } else {
            out += path[i];
        }
    }
}

}  // namespace

std::string MapToLocalPath(std::string_view path) {
    const auto separators = SeparatorPositions(path);
    std::string out;
    if (IsDrivePath(path)) {
        const char letter = static_cast<char>(path[0] | 0x20);  // ASCII lower case
        out = DriveRootFolder() + "/drive_" + letter;
        if (path.size() > 2 && !IsPathSeparator(path[2])) out += '/';
        AppendWithSlashes(out, path, 2, separators);
    } else if (IsUncPath(path)) {
        out = DriveRootFolder() + "/unc/";
        AppendWithSlashes(out, path, 2, separators);
    } else {
        out.reserve(path.size());
        AppendWithSlashes(out, path, 0, separators);
    }
    return out;
}

bool FolderExists(std::string_view path) {
    if (path.empty()) return false;
    struct stat st;
    return stat(MapToLocalPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    struct stat st;
    return stat(MapToLocalPath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string CurrentFolder() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            break;
        }
        if (errno != ERANGE) throw std::system_error(errno, std::generic_category(), "getcwd");
        buffer.resize(buffer.size() * 2);
    }
    while (buffer.size() > 1 && buffer.back() == '/') buffer.pop_back();
    return buffer;
}

std::string ProgramFileFolder() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) throw std::system_error(errno, std::generic_category(), "readlink");
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t slash = buffer.rfind('/');
    if (slash == std::string::npos) return CurrentFolder();
    if (slash == 0) return "/";
    buffer.resize(slash);
    return buffer;
}

}  // namespace platform
