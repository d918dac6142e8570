// One libpq connection to the server, with every failure turned into the
// engine's errors: connect failures into 11280, 11287 and 11294, a broken
// connection into 11276, a unique index violated into 9729 (without names:
// the caller adds them), a lock wait beyond the lock rule into 10241 (naming
// the server: NamingTable names the table), a statement the server refuses
// into 11949.
#pragma once

#include <libpq-fe.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/error.h"
#include "engine/common/value.h"
#include "engine/storage/naming_table.h"
#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"

namespace engine::storage::postgres {

// The rows a statement returned, read as text.
class PgResult {
  public:
    explicit PgResult(PGresult* result) : result_(result, &PQclear) {}
    int Rows() const { return PQntuples(result_.get()); }
    bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column); }
    std::string_view Text(int row, int column) const;
    int64_t Integer(int row, int column) const;
    // A column of `type`, NULL when the server sent NULL.
    Value At(int row, int column, const ColumnType& type) const;
    int64_t Changed() const;  // rows an INSERT, UPDATE or DELETE touched
    std::string Tag() const { return PQcmdStatus(result_.get()); }
    bool Ok() const;  // the statement succeeded
    PGresult* Raw() const { return result_.get(); }
    PGresult* Release() { return result_.release(); }

  private:
    std::unique_ptr<PGresult, decltype(&PQclear)> result_;
};

struct WireValues;  // bound values as the server reads them

struct PgStatement {
    std::string sql;
    std::vector<Value> bindings;
};

class PgLink {
  public:
    // Connects, or throws 11280, 11287 or 11294.
    PgLink(const ServerAddress& server, LockRule rule);
    ~PgLink();
    PgLink(const PgLink&) = delete;
    PgLink& operator=(const PgLink&) = delete;

    PgResult Exec(const std::string& sql, const std::vector<Value>& bindings = {});
    // For undoing and unlocking on the way out of a failure: never throws.
    void ExecQuietly(const std::string& sql, const std::vector<Value>& bindings = {});
    // Sends statements together, answered in one round trip, each run as if
    // sent alone; their answers, failed or not (Throw raises a failure).
    // Throws only when the connection is lost.
    std::vector<PgResult> ExecTogether(const std::vector<PgStatement>& statements);
    [[noreturn]] void Throw(PgResult& failed) { ThrowFailure(failed.Release()); }
    // Statements whose answer nothing waits for (a savepoint set or
    // released, a lock released). SendAhead sends one to the server at once;
    // SendWithNext keeps it until the next statement, to go with it in one
    // message. Either answer is read before the next statement's and
    // dropped; a failure shows in the statements after it (a transaction is
    // aborted) or is lost. Neither throws. A statement kept for the next goes
    // only when one follows: inside a transaction, where the commit or the
    // rollback comes at the latest.
    void SendAhead(const std::string& sql, const std::vector<Value>& bindings = {});
    void SendWithNext(const std::string& sql, const std::vector<Value>& bindings = {});
    // Counts the statements that met a table other than they were written
    // for: a column or table missing, or a prepared statement outdated.
    uint64_t SchemaChanges() const { return schemaChanges_; }
    // The times any link of this process has waited for the server's answer
    // (one per statement sent alone, one per group sent together), for the
    // benchmarks to count a lending's round trips.
    static uint64_t RoundTrips();
    bool Broken() const { return PQstatus(conn_) != CONNECTION_OK; }
    // The server's address as error texts name it.
    const std::string& Location() const { return location_; }

  private:
    PGresult* Send(const std::string& sql, const std::vector<Value>& bindings);
    // The name of the server's prepared statement for a row statement
    // (SELECT, INSERT, UPDATE, DELETE) of `sql`, prepared on its first use;
    // nothing for any other statement or when the server refused it.
    const char* PreparedName(const std::string& sql, PGresult*& refused);
    bool Preparable(const std::string& sql) const;
    struct Queued {
        std::string name;  // of the prepared statement, if any
        bool prepare = false;
    };
    bool Queue(const std::string& sql, const WireValues& wire, Queued& queued);
    void Settle(const std::string& sql, const Queued& queued, PGresult* result);
    std::vector<PGresult*> SendGroup(const std::vector<PgStatement>& statements);
    bool SendQuiet(const std::string& sql, const std::vector<Value>& bindings);
    bool InPipeline() const { return aheadStatements_ > 0 || quietGroups_ > 0; }
    bool EnterPipeline();
    void LeavePipeline();  // once nothing sent is left unread
    PGresult* ReadAnswer();
    PGresult* ReadAnswer(const Queued& queued);
    void ReadSync();
    void NoteSchemaChange(PGresult* result);
    static constexpr size_t kMostPrepared = 512;
    [[noreturn]] void ThrowFailure(PGresult* result);

    PGconn* conn_ = nullptr;
    std::string location_;
    int quietGroups_ = 0;                          // groups sent ahead, their answers unread
    int aheadStatements_ = 0;                      // statements waiting to go with the next
    std::map<std::string, std::string> prepared_;  // statement text -> name
    int preparedCount_ = 0;                        // names ever given
    uint64_t schemaChanges_ = 0;
};

}  // namespace engine::storage::postgres
