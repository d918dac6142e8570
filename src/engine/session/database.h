// Databases: a named set of tables in one session, in a folder (local) or a
// database on the server (remote). The database connects when it is set
// connected or when the first of its data sets opens; its folder or server
// database changes only while it is disconnected. Disconnecting closes its
// data sets and rolls back a transaction left open. A server connection
// that was lost (reported as 11276) is given up at the next use that finds
// no transaction running and no table of it in use (no table open, no live
// query), and that use connects afresh.
//
// Transactions: one at a time. Every change posted or executed through the
// database's data sets after StartTransaction belongs to it; Commit makes
// them permanent together (forceFlush: written through to the disk before
// Commit returns), Rollback discards them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "engine/storage/open_remote.h"

namespace engine {

class TDBSession;
class TDBDataSet;

class TDBDatabase {
  public:
    TDBDatabase(std::string databaseName, TDBSession& session);
    ~TDBDatabase();
    TDBDatabase(const TDBDatabase&) = delete;
    TDBDatabase& operator=(const TDBDatabase&) = delete;

    const std::string& DatabaseName() const { return name_; }
    TDBSession& Session() const { return session_; }
    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& folder);
    const std::string& RemoteDatabase() const { return remoteDatabase_; }
    void SetRemoteDatabase(const std::string& name);

    bool Connected() const { return connection_ != nullptr; }
    void SetConnected(bool connected);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    void StartTransaction();
    void Commit(bool forceFlush = true);
    void Rollback();
    bool InTransaction() const;

    // The backend connection, connecting first when needed.
    storage::Connection& Connection();

    // Open data sets register so that a disconnect can close them.
    void Attach(TDBDataSet* dataSet);
    void Detach(TDBDataSet* dataSet);

  private:
    void RequireDisconnected(const char* what) const;

    std::string name_;
    TDBSession& session_;
    std::string directory_;
    std::string remoteDatabase_;
    std::unique_ptr<storage::Connection> connection_;
    std::vector<TDBDataSet*> dataSets_;
};

// Makes the inactive `session` a remote session with the server's host,
// port, user and password, and points `database`, disconnected, at the
// server's database.
void PointAtServer(TDBSession& session, TDBDatabase& database,
                   const storage::ServerAddress& server);

}  // namespace engine
