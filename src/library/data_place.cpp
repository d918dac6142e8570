#include "library/data_place.h"

#include <filesystem>
#include <stdexcept>

#include "engine/storage/sqlite/sqlite_connection.h"

namespace kashidashi::library {

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
    scratch_ = std::make_unique<platform::TemporaryFolder>("kashidashi-read-");
    std::filesystem::copy_file(place.path,
                               scratch_->File(engine::storage::sqlite::kDatabaseFileName));
    connection_ = engine::storage::OpenLocal(scratch_->Path(), kDeskLockRule);
}

PlaceConnection::~PlaceConnection() {
    connection_.reset();  // before its folder goes
}

}  // namespace kashidashi::library
