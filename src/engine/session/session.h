// Sessions: named connection contexts with their lock settings.
//
// A session is local (tables are files in folders) or remote (tables are
// served by a database server). Its type and remote settings change only
// while it is inactive; setting it inactive closes its databases and their
// data sets. Sessions register themselves by name for the whole of their
// life; the session named "Default" always exists.
//
// The session owns the implicit databases it makes for data sets that name
// a folder instead of a database; the application owns its named databases.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace engine {

class TDBDatabase;

enum class SessionType { stLocal, stRemote };
enum class LockProtocol { lpPessimistic, lpOptimistic };
enum class RemoteType { rtLAN };

class TDBSession {
  public:
    explicit TDBSession(std::string sessionName);
    ~TDBSession();
    TDBSession(const TDBSession&) = delete;
    TDBSession& operator=(const TDBSession&) = delete;

    static TDBSession& Default();
    static TDBSession* Find(const std::string& sessionName);  // any case

    const std::string& SessionName() const { return name_; }
    SessionType GetSessionType() const { return type_; }
    void SetSessionType(SessionType type);
    const std::string& PrivateDir() const { return privateDir_; }
    void SetPrivateDir(const std::string& folder) { privateDir_ = folder; }

    LockProtocol lockProtocol = LockProtocol::lpPessimistic;
    int LockRetryCount = 15;
    int LockWaitTime = 100;  // milliseconds between two tries of a row lock

    struct Remote {
        std::string host;
        std::string address = "127.0.0.1";
        int port = 12005;
        RemoteType type = RemoteType::rtLAN;
        bool trace = false;
        std::string user = "Admin";
        std::string password = "PqRelay";
    };
    const Remote& RemoteSettings() const { return remote_; }
    void SetRemoteSettings(const Remote& remote);

    bool Active() const { return active_; }
    void SetActive(bool active);

    // The database of that name in this session, if one is registered.
    TDBDatabase* FindDatabase(const std::string& databaseName) const;
    // The database a data set means by `databaseName`: a registered database,
    // or else a folder path, for which the session keeps an implicit database.
    TDBDatabase& DatabaseFor(const std::string& databaseName);

    void Register(TDBDatabase* database);
    void Unregister(TDBDatabase* database);

  private:
    void RequireInactive(const char* what) const;

    std::string name_;
    SessionType type_ = SessionType::stLocal;
    std::string privateDir_;
    Remote remote_;
    bool active_ = false;
    std::vector<TDBDatabase*> databases_;
    std::map<std::string, std::unique_ptr<TDBDatabase>> implicit_;
};

}  // namespace engine
