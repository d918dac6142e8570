// A data folder opened for kashidashi-admin: its own engine session and one
// database over the folder, so that a command can run everything it writes
// in one transaction. A server database (server://USER@HOST[:PORT]/DATABASE,
// data_location.h) serves wherever a folder does.
//
// AdminError carries a message for the operator, in Japanese; the commands
// print it as it stands.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "platform/temp_folder.h"

namespace kashidashi::admin {

class AdminError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class DataFolder {
  public:
    // Fails with AdminError when the folder does not exist or the server
    // address is malformed. Drive paths ("C:\Book\") are mapped as the desk
    // maps them. A server is connected when first used. A backup file
    // (data_location.h) is taken only when `readsBackupFile`, for a command
    // that only reads: its copy in a scratch folder is what is opened.
    explicit DataFolder(const std::string& folder, bool readsBackupFile = false);
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    const std::string& Folder() const { return folder_; }
    engine::TDBDatabase& Database() { return *database_; }

    // A closed table object of this folder.
    std::unique_ptr<engine::TDBTable> Table(const std::string& name);
    // The data tables (DataTableNames) that the folder already holds.
    std::vector<std::string> ExistingDataTables();
    // Fails with AdminError naming the table when the folder lacks it.
    void RequireTable(const std::string& name);
    // Runs a script of the engine's dialect (every statement in turn).
    void RunScript(const std::string& script);

  private:
    std::string folder_;
    std::unique_ptr<platform::TemporaryFolder> scratch_;  // a backup file's copy
    std::unique_ptr<engine::TDBSession> session_;
    std::unique_ptr<engine::TDBDatabase> database_;
};

// Runs `work` in one transaction of the folder's database: commits when it
// returns, rolls everything back and rethrows when it throws.
template <class Work>
void InOneTransaction(DataFolder& folder, Work&& work) {
    folder.Database().StartTransaction();
    try {
        work();
    } catch (...) {
        folder.Database().Rollback();
        throw;
    }
    folder.Database().Commit(true);
}

}  // namespace kashidashi::admin
