// A data set of a database: DatabaseName names a database of the session
// SessionName ("" is the default session) or, instead, a folder whose tables
// it reaches through an implicit database of that session.
#pragma once

#include <string>

#include "engine/dataset/dataset.h"

namespace engine {

class TDBDatabase;
class TDBSession;

class TDBDataSet : public TDataSet {
  public:
    ~TDBDataSet() override;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& name);
    const std::string& SessionName() const { return sessionName_; }
    void SetSessionName(const std::string& name);

    TDBSession& Session() const;
    TDBDatabase& Database() const;            // resolves the name; connects nothing
    storage::Connection& Connection() const;  // connects when needed

    // Called by the database when it disconnects.
    void CloseForDatabase() { Close(); }

  protected:
    void AttachToDatabase();
    void DetachFromDatabase();

  private:
    std::string databaseName_;
    std::string sessionName_;
    TDBDatabase* attached_ = nullptr;
};

}  // namespace engine
