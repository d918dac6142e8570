// The server cases: the key searches and the writes of one lending of the
// table cases, on a database of a PostgreSQL server, beside raw libpq doing
// the same statements (prepared once). The server is the one the server
// tests use (KX_PG_HOST, KX_PG_PORT, KX_PG_USER, KX_PG_PASSWORD, a role that
// may create databases); without it the cases print a line saying so.
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "bench_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/open_remote.h"
#include "engine/storage/postgres/pg_link.h"
#include "engine_side.h"

namespace bench {
namespace {

constexpr int kBooks = 100'000;
constexpr int kSearches = 5'000;
constexpr int kRounds = 100;
constexpr int kTurns = 5;

// A libpq connection of the raw side; every failure throws.
class RawServer {
  public:
    explicit RawServer(const engine::storage::ServerAddress& server) {
        std::string info = "host=" + server.host + " port=" + std::to_string(server.port) +
                           " user=" + server.user + " password=" + server.password +
                           " dbname=" + server.database;
        conn_ = PQconnectdb(info.c_str());
        if (PQstatus(conn_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(conn_));
        PQsetNoticeProcessor(
            conn_, [](void*, const char*) {}, nullptr);
    }
    ~RawServer() { PQfinish(conn_); }
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    void Exec(const std::string& sql) { Check(PQexec(conn_, sql.c_str()), sql); }
    void Prepare(const char* name, const std::string& sql) {
        Check(PQprepare(conn_, name, sql.c_str(), 0, nullptr), sql);
    }
    // Runs a prepared statement with one text parameter; the rows it read.
    PGresult* Run(const char* name, const std::string& parameter) {
        const char* values[] = {parameter.c_str()};
        PGresult* result = PQexecPrepared(conn_, name, 1, values, nullptr, nullptr, 0);
        auto status = PQresultStatus(result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) Check(result, name);
        return result;
    }

  private:
    void Check(PGresult* result, const std::string& what) {
        auto status = PQresultStatus(result);
        std::string message = PQresultErrorMessage(result);
        PQclear(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw std::runtime_error(message + " in " + what);
    }
    PGconn* conn_ = nullptr;
};

std::optional<engine::storage::ServerAddress> BenchServer() {
    const char* host = std::getenv("KX_PG_HOST");
    const char* port = std::getenv("KX_PG_PORT");
    const char* user = std::getenv("KX_PG_USER");
    const char* password = std::getenv("KX_PG_PASSWORD");
    if (!host || !port || !user || !password) return std::nullopt;
    return engine::storage::ServerAddress{host, std::atoi(port), user, password, "postgres"};
}

// A new database of the bench on the server, dropped when this goes.
class BenchDatabase {
  public:
    explicit BenchDatabase(engine::storage::ServerAddress server) : address_(std::move(server)) {
        address_.database = "kx_bench_" + std::to_string(getpid());
        RawServer admin(Admin());
        admin.Exec("DROP DATABASE IF EXISTS " + address_.database);
        admin.Exec("CREATE DATABASE " + address_.database + " TEMPLATE template0 ENCODING 'UTF8'");
    }
    ~BenchDatabase() {
        try {
            RawServer(Admin()).Exec("DROP DATABASE IF EXISTS " + address_.database +
                                    " WITH (FORCE)");
        } catch (const std::exception&) {
        }
    }
    const engine::storage::ServerAddress& Address() const { return address_; }

  private:
    engine::storage::ServerAddress Admin() const {
        auto admin = address_;
        admin.database = "postgres";
        return admin;
    }
    engine::storage::ServerAddress address_;
};

// The lending tables through the engine, filled by the server itself.
void MakeServerTables(const engine::storage::ServerAddress& server) {
    CreateLendingTables(*engine::storage::OpenRemote(server));
    RawServer raw(server);
    raw.Exec(
        "INSERT INTO \"Book\" (\"BOOK_ID\", syomei2, cyosya1, \"kashidashiF\", \"yoyakuF\", "
        "\"ISBN\", tourokubi) SELECT i, '本の題名 ' || i, '著者 ' || (i % 500), false, "
        "false, '9784' || lpad(i::text, 8, '0'), DATE '2023-03-15' + i % 2000 "
        "FROM generate_series(1, " +
        std::to_string(kBooks) + ") i");
    raw.Exec(
        "INSERT INTO \"Name\" (\"NAME_ID\", \"seito_No\", \"NAME\", \"mihenkyakuSU\") "
        "SELECT lpad(i::text, 6, '0'), lpad(i::text, 5, '0'), '利用者 ' || i, 0 "
        "FROM generate_series(1, 1000) i");
    raw.Exec("ANALYZE \"Book\", \"Name\"");
}

double RawKeySearch(RawServer& raw, const std::vector<int>& ids) {
    size_t total = 0;
    double seconds = Seconds([&] {
        for (int id : ids) {
            PGresult* row = raw.Run("book", std::to_string(id));
            if (PQntuples(row) == 1) {
                for (int c = 0; c < PQnfields(row); ++c) PQgetvalue(row, 0, c);
                total += std::string(PQgetvalue(row, 0, 2)).size();
            }
            PQclear(row);
        }
    });
    return total ? seconds : -1;
}

void KeySearch(const engine::storage::ServerAddress& server) {
    EngineSide side(server);
    RawServer raw(server);
    raw.Prepare("book",
                "SELECT kx_rowid, * FROM \"Book\" WHERE \"BOOK_ID\" = $1::integer "
                "ORDER BY \"BOOK_ID\" NULLS FIRST, kx_rowid LIMIT 1");
    auto ids = RandomIds(kSearches, kBooks);
    RawKeySearch(raw, ids);  // warm the server's cache for both
    ReportInStep(
        "server_book_key_search", kTurns, [&](int) { return EngineKeySearch(side, ids); },
        [&](int) { return RawKeySearch(raw, ids); });
}

void PrepareRawLend(RawServer& raw) {
    raw.Prepare("loan",
                "INSERT INTO kashibo (\"BOOK_ID\", \"NAME_ID\", \"kashidashiF\", \"seitoNo\", "
                "kashidashibi, henkyakuyotei) VALUES ($1::integer, '000001', '1', '00001', "
                "CURRENT_DATE, CURRENT_DATE + 7)");
    raw.Prepare("lent",
                "UPDATE \"Book\" SET \"kashidashiF\" = true WHERE \"BOOK_ID\" = $1::integer");
    raw.Prepare("user",
                "UPDATE \"Name\" SET \"mihenkyakuSU\" = \"mihenkyakuSU\" + 3 WHERE \"NAME_ID\" = "
                "$1::varchar");
    raw.Prepare("lock_book", "SELECT * FROM \"Book\" WHERE \"BOOK_ID\" = $1::integer FOR UPDATE");
    raw.Prepare("lock_user", "SELECT * FROM \"Name\" WHERE \"NAME_ID\" = $1::varchar FOR UPDATE");
}

void RawLend(RawServer& raw, int round) {
    raw.Exec("BEGIN");
    for (int i = 0; i < 3; ++i) {
        std::string bookId = std::to_string(50'000 + round * 3 + i + 1);
        PQclear(raw.Run("loan", bookId));
        PQclear(raw.Run("lent", bookId));
    }
    PQclear(raw.Run("user", "000001"));
    raw.Exec("COMMIT");
}

// The same lending as a hand-written one that two desks may run at once has
// to do it: the user and each book locked and read (is it lent already?)
// before they are written.
void RawLendChecked(RawServer& raw, int round) {
    raw.Exec("BEGIN");
    PQclear(raw.Run("lock_user", "000001"));
    for (int i = 0; i < 3; ++i) {
        std::string bookId = std::to_string(70'000 + round * 3 + i + 1);
        PQclear(raw.Run("lock_book", bookId));
        PQclear(raw.Run("loan", bookId));
        PQclear(raw.Run("lent", bookId));
    }
    PQclear(raw.Run("user", "000001"));
    raw.Exec("COMMIT");
}

void LendWrites(const engine::storage::ServerAddress& server) {
    EngineSide side(server);
    RawServer raw(server);
    PrepareRawLend(raw);
    constexpr int kPerTurn = kRounds / kTurns;
    auto turnOf = [&](auto lend) {
        return [&, lend](int turn) {
            return Seconds([&] {
                for (int round = turn * kPerTurn; round < (turn + 1) * kPerTurn; ++round)
                    lend(round);
            });
        };
    };
    ReportInStep("server_lend_writes", kTurns, turnOf([&](int round) { EngineLend(side, round); }),
                 turnOf([&](int round) { RawLend(raw, round); }));
    // The round trips of one lending once its statements are prepared (the
    // raw side does not go through the engine's links).
    uint64_t before = engine::storage::postgres::PgLink::RoundTrips();
    for (int round = 0; round < kPerTurn; ++round) EngineLend(side, 2 * kRounds + round);
    double perLending = double(engine::storage::postgres::PgLink::RoundTrips() - before) / kPerTurn;
    std::printf("server_lend_round_trips %.1f\n", perLending);
    ReportInStep("server_lend_writes_checked", kTurns,
                 turnOf([&](int round) { EngineLend(side, kRounds + round); }),
                 turnOf([&](int round) { RawLendChecked(raw, round); }));
}

}  // namespace

void RunServerCases() {
    auto server = BenchServer();
    if (!server) {
        std::printf(
            "server_book_key_search, server_lend_writes skipped: no PostgreSQL server "
            "(set KX_PG_HOST, KX_PG_PORT, KX_PG_USER and KX_PG_PASSWORD)\n");
        return;
    }
    BenchDatabase database(*server);
    MakeServerTables(database.Address());
    KeySearch(database.Address());
    LendWrites(database.Address());
}

}  // namespace bench
