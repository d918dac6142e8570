// Row locks and table uses as session advisory locks of the server. A lock
// is the key pair (hash of the kind and the table name in lower case, row id
// or 0); within one connection a table in use is counted here, since the
// server never lets a session's own locks conflict.
#include "engine/common/names.h"
#include "engine/storage/postgres/pg_connection.h"

namespace engine::storage::postgres {
namespace {

// FNV-1a, 32 bits.
int32_t KeyOf(const char* kind, const std::string& table) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : std::string(kind) + ":" + LowerName(table))
        hash = (hash ^ c) * 16777619u;
    return static_cast<int32_t>(hash);
}

std::vector<Value> Keys(const char* kind, const std::string& table, int64_t id) {
    return {Value(int64_t{KeyOf(kind, table)}), Value(int64_t{static_cast<int32_t>(id)})};
}

}  // namespace

PgStatement PgConnection::TryAdvisoryStatement(const char* kind, const std::string& table,
                                               int64_t id, bool shared) {
    return {shared ? "SELECT pg_try_advisory_lock_shared($1::integer, $2::integer)"
                   : "SELECT pg_try_advisory_lock($1::integer, $2::integer)",
            Keys(kind, table, id)};
}

bool PgConnection::TryAdvisory(const char* kind, const std::string& table, int64_t id,
                               bool shared) {
    auto statement = TryAdvisoryStatement(kind, table, id, shared);
    return link_.Exec(statement.sql, statement.bindings).Text(0, 0) == "t";
}

// Not waited for: the next statement reads its answer. Inside a transaction
// it goes with that statement (the commit at the latest); outside one, at
// once. Another desk that finds the lock still held for that moment tries
// again.
void PgConnection::EndAdvisory(const char* kind, const std::string& table, int64_t id, bool shared,
                               bool waited) {
    if (link_.Broken()) return;  // the server dropped the locks with the connection
    const char* sql = shared ? "SELECT pg_advisory_unlock_shared($1::integer, $2::integer)"
                             : "SELECT pg_advisory_unlock($1::integer, $2::integer)";
    if (waited)
        link_.Exec(sql, Keys(kind, table, id));
    else if (inTransaction_)
        link_.SendWithNext(sql, Keys(kind, table, id));
    else
        link_.SendAhead(sql, Keys(kind, table, id));
}

// Only looks: a use is counted once its lock is taken (NoteUse), so an
// open that fails on a lost connection leaves nothing that would keep the
// connection from being replaced.
bool PgConnection::MayUse(const std::string& table, bool exclusive, bool& again) const {
    auto it = uses_.find(LowerName(table));
    Use held = it == uses_.end() ? Use{} : it->second;
    again = !exclusive && held.shared > 0;
    return !held.exclusive && !(exclusive && held.shared > 0);
}

void PgConnection::NoteUse(const std::string& table, bool exclusive) {
    Use& held = uses_[LowerName(table)];
    if (exclusive)
        held.exclusive = true;
    else
        ++held.shared;
}

bool PgConnection::TryUseTable(const std::string& table, TableUse use) {
    bool exclusive = use == TableUse::Exclusive, again = false;
    if (!MayUse(table, exclusive, again)) return false;
    if (!again && !TryAdvisory("use", table, 0, !exclusive)) return false;
    NoteUse(table, exclusive);
    return true;
}

// The end of a table's use is waited for: another desk may open the table
// exclusively the moment this returns, and an exclusive open does not retry.
void PgConnection::EndUseTable(const std::string& table, TableUse use) {
    auto it = uses_.find(LowerName(table));
    if (it == uses_.end()) return;
    Use& held = it->second;
    bool exclusive = use == TableUse::Exclusive;
    if (exclusive && held.exclusive) {
        held.exclusive = false;
        EndAdvisory("use", table, 0, false, true);
    } else if (!exclusive && held.shared > 0 && --held.shared == 0) {
        EndAdvisory("use", table, 0, true, true);
    }
    if (!held.exclusive && held.shared == 0) uses_.erase(it);
}

// The server counts a session's repeated locks of one row itself.
bool PgConnection::TryLockRow(const std::string& table, RowId id) {
    return TryAdvisory("row", table, id, false);
}

// A row unlock is not waited for: a desk that meets the row a moment before
// the server has let it go tries again by the lock rule.
void PgConnection::UnlockRow(const std::string& table, RowId id) {
    EndAdvisory("row", table, id, false, false);
}

}  // namespace engine::storage::postgres

namespace engine::storage::postgres {
namespace {

constexpr const char* kDeskName = "kashidashi desk:";

}  // namespace

// The machine's name goes in the session's application name, which every
// role may read of every session; the lock says the session is a desk.
bool PgConnection::AnnounceDesk(const std::string& machine) {
    link_.Exec("SELECT set_config('application_name', $1, false)",
               {Value(std::string(kDeskName) + machine)});
    return TryAdvisory("desk", "", 0, true);
}

std::vector<std::string> PgConnection::OpenDesks() {
    const int64_t key = static_cast<uint32_t>(KeyOf("desk", ""));
    auto result = link_.Exec(
        "SELECT a.application_name FROM pg_locks l JOIN pg_stat_activity a ON a.pid = l.pid "
        "WHERE l.locktype = 'advisory' AND l.granted AND l.objsubid = 2 "
        "AND l.classid::bigint = $1 AND l.objid::bigint = 0 AND l.pid <> pg_backend_pid() "
        "AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database()) "
        "ORDER BY a.backend_start",
        {Value(key)});
    std::vector<std::string> machines;
    for (int row = 0; row < result.Rows(); ++row) {
        std::string name(result.IsNull(row, 0) ? "" : result.Text(row, 0));
        if (name.rfind(kDeskName, 0) == 0) name = name.substr(std::string(kDeskName).size());
        machines.push_back(name);
    }
    return machines;
}

}  // namespace engine::storage::postgres
