#include "engine/dataset/db_dataset.h"

#include "engine/common/error.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace engine {

TDBDataSet::~TDBDataSet() {
    DetachFromDatabase();
}

void TDBDataSet::SetDatabaseName(const std::string& name) {
    if (name == databaseName_) return;
    if (Active()) Close();
    databaseName_ = name;
}

void TDBDataSet::SetSessionName(const std::string& name) {
    if (name == sessionName_) return;
    if (Active()) Close();
    sessionName_ = name;
}

TDBSession& TDBDataSet::Session() const {
    TDBSession* session = TDBSession::Find(sessionName_);
    if (!session)
        throw EngineError::Make(err::kInvalidOperation,
                                "セッション '" + sessionName_ + "' がありません");
    return *session;
}

TDBDatabase& TDBDataSet::Database() const {
    if (attached_) return *attached_;
    return Session().DatabaseFor(databaseName_);
}

storage::Connection& TDBDataSet::Connection() const {
    return Database().Connection();
}

void TDBDataSet::AttachToDatabase() {
    if (attached_) return;
    attached_ = &Database();
    attached_->Attach(this);
}

void TDBDataSet::DetachFromDatabase() {
    if (!attached_) return;
    attached_->Detach(this);
    attached_ = nullptr;
}

}  // namespace engine
