// Opening a link: the connection parameters, the wait for the server with a
// deadline of its own, and the connect failures as the engine's errors.
#include <poll.h>

#include <chrono>

#include "engine/storage/postgres/pg_link.h"

namespace engine::storage::postgres {
namespace {

constexpr int kConnectSeconds = 10;

bool Mentions(const std::string& message, const char* what) {
    return message.find(what) != std::string::npos;
}

// The server names its refusal by SQLSTATE in the verbose message
// ("FATAL:  28P01: ..."); the words are the fallback for older servers.
[[noreturn]] void ThrowConnectFailure(PGconn* conn, const ServerAddress& server,
                                      const std::string& location) {
    std::string message = conn ? PQerrorMessage(conn) : "";
    if (Mentions(message, "3D000:") ||
        (Mentions(message, "database \"") && Mentions(message, "does not exist")))
        throw EngineError::Make(err::kRemoteDatabaseMissing, server.database, location);
    if (Mentions(message, "28P01:") || Mentions(message, "28000:") ||
        Mentions(message, "password authentication failed") ||
        (conn && PQconnectionNeedsPassword(conn)))
        throw EngineError::Make(err::kLoginInvalid, location);
    throw EngineError::Make(err::kCannotConnect, location);
}

// The session options: ISO dates, the lock rule as the longest lock wait,
// no notices.
std::string Options(LockRule rule) {
    int waitMs = std::max(1, rule.retryCount * rule.waitMs);
    return "-c DateStyle=ISO,YMD -c client_min_messages=warning -c lock_timeout=" +
           std::to_string(waitMs);
}

PGconn* Start(const ServerAddress& server, LockRule rule) {
    std::string port = std::to_string(server.port);
    std::string options = Options(rule);
    // Keepalives and the TCP user timeout find a dead peer in about 20 s.
    const char* keys[] = {"host",
                          "port",
                          "user",
                          "password",
                          "dbname",
                          "sslmode",
                          "client_encoding",
                          "application_name",
                          "options",
                          "keepalives",
                          "keepalives_idle",
                          "keepalives_interval",
                          "keepalives_count",
                          "tcp_user_timeout",
                          nullptr};
    const char* values[] = {server.host.c_str(),
                            port.c_str(),
                            server.user.c_str(),
                            server.password.c_str(),
                            server.database.c_str(),
                            "prefer",
                            "UTF8",
                            "kashidashi",
                            options.c_str(),
                            "1",
                            "10",
                            "5",
                            "2",
                            "20000",
                            nullptr};
    return PQconnectStartParams(keys, values, 0);
}

// Drives the connect to its end; false when it failed or took too long.
bool Finish(PGconn* conn) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kConnectSeconds);
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (status != PGRES_POLLING_OK) {
        if (status == PGRES_POLLING_FAILED) return false;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{PQsocket(conn),
                  static_cast<short>(status == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) < 0) return false;
        status = PQconnectPoll(conn);
    }
    return true;
}

}  // namespace

PgLink::PgLink(const ServerAddress& server, LockRule rule) : location_(server.host) {
    conn_ = Start(server, rule);
    if (conn_ && PQstatus(conn_) != CONNECTION_BAD) {
        PQsetErrorVerbosity(conn_, PQERRORS_VERBOSE);
        if (Finish(conn_) && PQstatus(conn_) == CONNECTION_OK) {
            PQsetErrorVerbosity(conn_, PQERRORS_DEFAULT);
            return;
        }
    }
    try {
        ThrowConnectFailure(conn_, server, location_);
    } catch (...) {
        PQfinish(conn_);
        conn_ = nullptr;
        throw;
    }
}

// What is still unread or unsent goes with the connection: the server drops
// a closed session's locks and rolls back its transaction itself.
PgLink::~PgLink() {
    PQfinish(conn_);
}

}  // namespace engine::storage::postgres
