#include "pg_test_server.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace engine::testing {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::optional<storage::ServerAddress> TestServer() {
    if (Env("KX_PG_HOST").empty() || Env("KX_PG_PORT").empty()) return std::nullopt;
    storage::ServerAddress server;
    server.host = Env("KX_PG_HOST");
    server.port = std::atoi(Env("KX_PG_PORT").c_str());
    server.user = Env("KX_PG_USER");
    server.password = Env("KX_PG_PASSWORD");
    return server;
}

const char* NoServerReason() {
    return "no PostgreSQL server for the server-mode tests: set KX_PG_HOST, KX_PG_PORT, "
           "KX_PG_USER and KX_PG_PASSWORD (scripts/test starts one)";
}

bool ServerRequired() {
    return Env("KX_PG_REQUIRED") == "1";
}

bool DataOnServer() {
    return Env("KX_ENGINE_BACKEND") == "server";
}

std::string AdminSql(const std::string& sql) {
    auto server = TestServer();
    if (!server) return NoServerReason();
    std::string port = std::to_string(server->port);
    const char* keys[] = {"host", "port", "user", "password", "dbname", nullptr};
    const char* values[] = {server->host.c_str(),     port.c_str(), server->user.c_str(),
                            server->password.c_str(), "postgres",   nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 0);
    std::string error;
    if (PQstatus(conn) != CONNECTION_OK) {
        error = PQerrorMessage(conn);
    } else {
        PGresult* result = PQexec(conn, sql.c_str());
        if (PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK)
            error = PQresultErrorMessage(result);
        PQclear(result);
    }
    PQfinish(conn);
    return error;
}

ScratchDatabase::ScratchDatabase() {
    static std::atomic<int> counter{0};
    auto server = TestServer();
    if (!server) throw std::runtime_error(NoServerReason());
    address_ = *server;
    address_.database = "kxt_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    std::string error = AdminSql("CREATE DATABASE " + address_.database + " TEMPLATE template0");
    if (!error.empty()) throw std::runtime_error("cannot create a test database: " + error);
}

ScratchDatabase::~ScratchDatabase() {
    AdminSql("DROP DATABASE IF EXISTS " + address_.database + " WITH (FORCE)");
}

std::string ScratchDatabase::EndConnections() const {
    return AdminSql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" +
                    address_.database + "'");
}

std::string ScratchDatabase::Location() const {
    return "server://" + address_.user + "@" + address_.host + ":" + std::to_string(address_.port) +
           "/" + address_.database;
}

}  // namespace engine::testing
