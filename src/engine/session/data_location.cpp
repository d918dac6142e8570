#include "engine/session/data_location.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "engine/storage/open_local.h"
#include "platform/paths.h"

namespace engine {
namespace {

constexpr const char* kScheme = "server://";
constexpr const char* kForm = "server://USER@HOST[:PORT]/DATABASE";

// "HOST[:PORT]" into the address; false when the port is no number.
bool ReadHostPort(const std::string& text, storage::ServerAddress& address) {
    auto colon = text.rfind(':');
    address.host = text.substr(0, colon);
    address.port = kDefaultServerPort;
    if (colon == std::string::npos) return !address.host.empty();
    std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    address.port = std::atoi(port.c_str());
    return !address.host.empty() && address.port > 0 && address.port < 65536;
}

// A line read from the terminal with its echo off.
std::string ReadHidden() {
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << "\n";
    return line;
}

}  // namespace

std::optional<DataLocation> ParseLocation(const std::string& text, std::string& problem) {
    DataLocation location;
    location.text = text;
    if (text.rfind(kScheme, 0) != 0) {
        location.folder = platform::MapToLocalPath(text);
        location.backupFile = platform::FileExists(location.folder);
        return location;
    }
    location.server = true;
    std::string rest = text.substr(std::string(kScheme).size());
    auto at = rest.find('@');
    auto slash = rest.find('/', at == std::string::npos ? 0 : at);
    if (at == std::string::npos || at == 0 || slash == std::string::npos ||
        slash + 1 >= rest.size() ||
        !ReadHostPort(rest.substr(at + 1, slash - at - 1), location.address)) {
        problem = "サーバの指定が正しくありません: " + text + "（" + kForm + "）";
        return std::nullopt;
    }
    location.address.user = rest.substr(0, at);
    location.address.database = rest.substr(slash + 1);
    return location;
}

DataLocation RequireLocation(const std::string& text) {
    std::string problem;
    auto location = ParseLocation(text, problem);
    if (!location) throw std::runtime_error(problem);
    return *location;
}

std::string ServerPassword(const DataLocation& location) {
    if (const char* password = std::getenv("KASHIDASHI_PASSWORD")) return password;
    if (!isatty(STDIN_FILENO))
        throw std::runtime_error(
            "サーバのパスワードがありません。環境変数 KASHIDASHI_PASSWORD "
            "に入れるか、端末から実行してください。");
    std::cerr << location.address.user << "@" << location.address.host << " のパスワード: ";
    return ReadHidden();
}

std::unique_ptr<storage::Connection> OpenLocation(const DataLocation& location) {
    if (location.backupFile)
        throw std::runtime_error("「" + location.text +
                                 "」はファイルです。データフォルダかサーバを指定してください。");
    if (!location.server) return storage::OpenLocal(location.folder);
    auto address = location.address;
    address.password = ServerPassword(location);
    return storage::OpenRemote(address);
}

void PointAt(TDBSession& session, TDBDatabase& database, const DataLocation& location) {
    if (!location.server) {
        database.SetDirectory(location.folder);
        return;
    }
    storage::ServerAddress server = location.address;
    server.password = ServerPassword(location);
    engine::PointAtServer(session, database, server);
}

}  // namespace engine
