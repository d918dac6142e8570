#include "engine/session/session.h"

#include <algorithm>

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/session/database.h"

namespace engine {
namespace {

std::vector<TDBSession*>& Sessions() {
    static std::vector<TDBSession*> sessions;
    return sessions;
}

}  // namespace

TDBSession::TDBSession(std::string sessionName) : name_(std::move(sessionName)) {
    Sessions().push_back(this);
}

TDBSession::~TDBSession() {
    implicit_.clear();
    auto& all = Sessions();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

TDBSession& TDBSession::Default() {
    static TDBSession session("Default");
    return session;
}

TDBSession* TDBSession::Find(const std::string& sessionName) {
    if (sessionName.empty()) return &Default();
    for (auto* session : Sessions())
        if (SameName(session->name_, sessionName)) return session;
    if (SameName(sessionName, "Default")) return &Default();
    return nullptr;
}

void TDBSession::RequireInactive(const char* what) const {
    if (active_)
        throw EngineError::Make(err::kInvalidOperation, "セッション " + name_ + " が使用中のため" +
                                                            what + "を変更できません");
}

void TDBSession::SetSessionType(SessionType type) {
    if (type == type_) return;
    RequireInactive("種類");
    type_ = type;
}

void TDBSession::SetRemoteSettings(const Remote& remote) {
    RequireInactive("接続先");
    remote_ = remote;
}

void TDBSession::SetActive(bool active) {
    if (!active) {
        for (auto* database : databases_) database->SetConnected(false);
        for (auto& [folder, database] : implicit_) database->SetConnected(false);
    }
    active_ = active;
}

TDBDatabase* TDBSession::FindDatabase(const std::string& databaseName) const {
    for (auto* database : databases_)
        if (SameName(database->DatabaseName(), databaseName)) return database;
    return nullptr;
}

TDBDatabase& TDBSession::DatabaseFor(const std::string& databaseName) {
    if (TDBDatabase* named = FindDatabase(databaseName)) return *named;
    auto& database = implicit_[databaseName];
    if (!database) {
        database = std::make_unique<TDBDatabase>(databaseName, *this);
        Unregister(database.get());  // an implicit database is found by folder, not by name
        database->SetDirectory(databaseName);
    }
    return *database;
}

void TDBSession::Register(TDBDatabase* database) {
    databases_.push_back(database);
}

void TDBSession::Unregister(TDBDatabase* database) {
    databases_.erase(std::remove(databases_.begin(), databases_.end(), database), databases_.end());
}

}  // namespace engine
