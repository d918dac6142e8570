#include "engine/session/database.h"

#include <algorithm>

#include "engine/common/error.h"
#include "engine/dataset/db_dataset.h"
#include "engine/session/session.h"
#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"
#include "platform/paths.h"

namespace engine {

TDBDatabase::TDBDatabase(std::string databaseName, TDBSession& session)
    : name_(std::move(databaseName)), session_(session) {
    session_.Register(this);
}

TDBDatabase::~TDBDatabase() {
    SetConnected(false);
    session_.Unregister(this);
}

void TDBDatabase::RequireDisconnected(const char* what) const {
    if (Connected())
        throw EngineError::Make(
            err::kInvalidOperation,
            "データベース " + name_ + " が接続中のため" + what + "を変更できません");
}

void TDBDatabase::SetDirectory(const std::string& folder) {
    if (folder == directory_) return;
    RequireDisconnected("フォルダ");
    directory_ = folder;
}

void TDBDatabase::SetRemoteDatabase(const std::string& name) {
    if (name == remoteDatabase_) return;
    RequireDisconnected("データベース名");
    remoteDatabase_ = name;
}

void TDBDatabase::SetConnected(bool connected) {
    if (connected == Connected()) return;
    if (connected) {
        Connection();
        return;
    }
    auto open = dataSets_;  // closing a data set detaches it
    for (auto* dataSet : open) dataSet->CloseForDatabase();
    dataSets_.clear();
    connection_.reset();  // rolls back an open transaction, releases every lock
}

storage::Connection& TDBDatabase::Connection() {
    // A connection the server ended has failed its operation with 11276; once
    // nothing holds on to it (data sets over private copies keep nothing on
    // the server), the next use connects afresh.
    if (connection_ && connection_->Replaceable()) connection_.reset();
    if (connection_) return *connection_;
    // Waits for another desk's locks follow the session's lock rule.
    storage::LockRule rule{session_.LockRetryCount, session_.LockWaitTime};
    if (session_.GetSessionType() == SessionType::stRemote) {
        const auto& remote = session_.RemoteSettings();
        storage::ServerAddress server{remote.host.empty() ? remote.address : remote.host,
                                      remote.port, remote.user, remote.password, remoteDatabase_};
        connection_ = storage::OpenRemote(server, rule);
        session_.SetActive(true);
        return *connection_;
    }
    connection_ = storage::OpenLocal(platform::MapToLocalPath(directory_), rule);
    session_.SetActive(true);
    return *connection_;
}

void TDBDatabase::StartTransaction() {
    if (InTransaction()) throw DataSetError::ActiveTransaction(name_);
    Connection().Begin();
}

void TDBDatabase::Commit(bool forceFlush) {
    if (connection_ && connection_->InTransaction()) connection_->Commit(forceFlush);
}

void TDBDatabase::Rollback() {
    if (connection_ && connection_->InTransaction()) connection_->Rollback();
}

bool TDBDatabase::InTransaction() const {
    return connection_ && connection_->InTransaction();
}

void TDBDatabase::Attach(TDBDataSet* dataSet) {
    dataSets_.push_back(dataSet);
}

void TDBDatabase::Detach(TDBDataSet* dataSet) {
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}

void PointAtServer(TDBSession& session, TDBDatabase& database,
                   const storage::ServerAddress& server) {
    session.SetSessionType(SessionType::stRemote);
    TDBSession::Remote remote = session.RemoteSettings();
    remote.host = server.host;
    remote.port = server.port;
    remote.user = server.user;
    remote.password = server.password;
    session.SetRemoteSettings(remote);
    database.SetRemoteDatabase(server.database);
}

}  // namespace engine
