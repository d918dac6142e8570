// Where a school's data tables are: a data folder, a database on a server,
// or a backup file (one SQLite file written by MakeBackup) read as if it
// were a data folder.
//
// PlaceConnection opens a backend connection to a place for the librarian's
// work; a backup file is first copied into a private scratch folder, so that
// reading it never changes it (the copy goes when the connection does). The
// scratch folder's name carries the reader's process id
// (kashidashi-read-PID-XXXXXX in the temporary folder): the next reader
// removes those of processes that have ended without removing theirs.
#pragma once

#include <memory>
#include <string>

#include "engine/storage/connection.h"
#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"
#include "platform/temp_folder.h"

namespace kashidashi::library {

struct DataPlace {
    enum class Kind { Folder, Server, BackupFile };
    Kind kind = Kind::Folder;
    std::string path;                       // a folder or a backup file: its local path
    engine::storage::ServerAddress server;  // a server, with its password
    std::string text;                       // how the operator named it, for messages

    static DataPlace Folder(const std::string& folder);
    static DataPlace Server(const engine::storage::ServerAddress& server, std::string text = "");
    static DataPlace BackupFile(const std::string& file);
    // The name in messages: `text`, or else the path or server address.
    std::string Name() const;
};

// The lock rule of every connection the librarian's work opens: the desk's.
inline constexpr engine::storage::LockRule kDeskLockRule{15, 100};

// Removes the scratch copies of readers that are no longer running.
void RemoveLeftScratchCopies();
// The name a scratch folder of this process begins with.
std::string ScratchPrefix();

class PlaceConnection {
  public:
    // Throws EngineError when the place cannot be reached (a missing folder,
    // a server that does not answer), std::runtime_error for a backup file
    // that is missing.
    explicit PlaceConnection(const DataPlace& place);
    ~PlaceConnection();
    PlaceConnection(const PlaceConnection&) = delete;
    PlaceConnection& operator=(const PlaceConnection&) = delete;

    engine::storage::Connection& operator*() { return *connection_; }
    engine::storage::Connection* operator->() { return connection_.get(); }

  private:
    std::unique_ptr<platform::TemporaryFolder> scratch_;  // a backup file's copy
    std::unique_ptr<engine::storage::Connection> connection_;
};

}  // namespace kashidashi::library
