#include "library/data_place.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "engine/storage/sqlite/sqlite_connection.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScratchPrefix = "kashidashi-read-";

bool Alive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace

// "kashidashi-read-PID-": the process a scratch copy belongs to is in its name.
std::string ScratchPrefix() {
    return kScratchPrefix + std::to_string(getpid()) + "-";
}

void RemoveLeftScratchCopies() {
    std::error_code error;
    const std::string prefix = kScratchPrefix;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(error), error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        pid_t owner = static_cast<pid_t>(std::atol(name.c_str() + prefix.size()));
        if (owner > 0 && !Alive(owner)) fs::remove_all(entry.path(), error);
    }
}

DataPlace DataPlace::Folder(const std::string& folder) {
    DataPlace place;
    place.path = folder;
    return place;
}

DataPlace DataPlace::Server(const engine::storage::ServerAddress& server, std::string text) {
    DataPlace place;
    place.kind = Kind::Server;
    place.server = server;
    place.text = std::move(text);
    return place;
}

DataPlace DataPlace::BackupFile(const std::string& file) {
    DataPlace place;
    place.kind = Kind::BackupFile;
    place.path = file;
    return place;
}

std::string DataPlace::Name() const {
    if (!text.empty()) return text;
    if (kind != Kind::Server) return path;
    return "server://" + server.user + "@" + server.host + ":" + std::to_string(server.port) + "/" +
           server.database;
}

PlaceConnection::PlaceConnection(const DataPlace& place) {
    using Kind = DataPlace::Kind;
    if (place.kind == Kind::Server) {
        connection_ = engine::storage::OpenRemote(place.server, kDeskLockRule);
        return;
    }
    if (place.kind == Kind::Folder) {
        connection_ = engine::storage::OpenLocal(place.path, kDeskLockRule);
        return;
    }
    if (!std::filesystem::is_regular_file(place.path))
        throw std::runtime_error("バックアップファイル「" + place.path + "」がありません。");
    RemoveLeftScratchCopies();  // of readers killed before they could
    scratch_ = std::make_unique<platform::TemporaryFolder>(ScratchPrefix());
    std::filesystem::copy_file(place.path,
                               scratch_->File(engine::storage::sqlite::kDatabaseFileName));
    connection_ = engine::storage::OpenLocal(scratch_->Path(), kDeskLockRule);
}

PlaceConnection::~PlaceConnection() {
    connection_.reset();  // before its folder goes
}

}  // namespace kashidashi::library
