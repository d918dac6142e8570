#include "engine/storage/postgres/pg_connection.h"

#include "engine/common/names.h"

namespace engine::storage::postgres {

PgConnection::PgConnection(const ServerAddress& server, LockRule rule) : link_(server, rule) {}

// Closing the connection would roll back and release every lock too, but
// only once the server has seen the connection go; released here, they are
// free for the next desk when this returns.
PgConnection::~PgConnection() {
    if (inTransaction_) link_.ExecQuietly("ROLLBACK");
    link_.ExecQuietly("SELECT pg_advisory_unlock_all()");
}

void PgConnection::Atomically(const std::string& table, const std::function<void()>& work,
                              bool single) {
    if (atomicDepth_ > 0 || (single && !inTransaction_)) return NamingTable(table, work);
    const bool nested = inTransaction_;
    ++atomicDepth_;
    try {
        NamingTable(table, [&] {
            if (nested)
                link_.SendWithNext("SAVEPOINT kx_atomic");
            else
                Exec("BEGIN");
            work();
            if (nested)
                link_.SendWithNext("RELEASE SAVEPOINT kx_atomic");
            else
                Exec("COMMIT");
        });
    } catch (...) {
        --atomicDepth_;
        link_.ExecQuietly(nested ? "ROLLBACK TO SAVEPOINT kx_atomic" : "ROLLBACK");
        if (nested) link_.ExecQuietly("RELEASE SAVEPOINT kx_atomic");
        throw;
    }
    --atomicDepth_;
}

// Goes with the transaction's first statement, in one message, and a
// connection lost meanwhile shows there.
void PgConnection::Begin() {
    if (link_.Broken()) Exec("BEGIN");  // throws 11276
    link_.SendWithNext("BEGIN");
    inTransaction_ = true;
}

// Repeatable read: the server takes the snapshot at the first statement and
// keeps it to the end; no desk's write waits for it.
void PgConnection::BeginSnapshot() {
    if (link_.Broken()) Exec("BEGIN");  // throws 11276
    link_.SendWithNext("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    inTransaction_ = true;
}

// The server syncs every commit (synchronous_commit), forced or not. A
// transaction that a failed statement spoilt ends in a rollback, which is
// reported rather than taken for a commit.
void PgConnection::Commit(bool /*forceFlush*/) {
    PgResult result = link_.Exec("COMMIT");
    inTransaction_ = false;
    if (result.Tag() == "ROLLBACK")
        throw EngineError::Make(err::kIoError, Location(),
                                "the transaction failed and was rolled back");
}

// A lost connection has already rolled back on the server. DDL of the
// transaction is undone with it.
void PgConnection::Rollback() {
    inTransaction_ = false;
    described_.clear();
    link_.ExecQuietly("ROLLBACK");
}

}  // namespace engine::storage::postgres
