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

bool PgConnection::TryAdvisory(const char* kind, const std::string& table, int64_t id,
                               bool shared) {
    auto result = link_.Exec(shared ? "SELECT pg_try_advisory_lock_shared($1::integer, $2::integer)"
                                    : "SELECT pg_try_advisory_lock($1::integer, $2::integer)",
                             Keys(kind, table, id));
    return result.Text(0, 0) == "t";
}

void PgConnection::EndAdvisory(const char* kind, const std::string& table, int64_t id,
                               bool shared) {
    link_.ExecQuietly(shared ? "SELECT pg_advisory_unlock_shared($1::integer, $2::integer)"
                             : "SELECT pg_advisory_unlock($1::integer, $2::integer)",
                      Keys(kind, table, id));
}

bool PgConnection::TryUseTable(const std::string& table, TableUse use) {
    bool exclusive = use == TableUse::Exclusive;
    Use& held = uses_[LowerName(table)];
    if (held.exclusive || (exclusive && held.shared > 0)) return false;
    if (!exclusive && held.shared > 0) {
        ++held.shared;
        return true;
    }
    if (!TryAdvisory("use", table, 0, !exclusive)) return false;
    if (exclusive)
        held.exclusive = true;
    else
        held.shared = 1;
    return true;
}

void PgConnection::EndUseTable(const std::string& table, TableUse use) {
    auto it = uses_.find(LowerName(table));
    if (it == uses_.end()) return;
    Use& held = it->second;
    bool exclusive = use == TableUse::Exclusive;
    if (exclusive && held.exclusive) {
        held.exclusive = false;
        EndAdvisory("use", table, 0, false);
    } else if (!exclusive && held.shared > 0 && --held.shared == 0) {
        EndAdvisory("use", table, 0, true);
    }
    if (!held.exclusive && held.shared == 0) uses_.erase(it);
}

// The server counts a session's repeated locks of one row itself.
bool PgConnection::TryLockRow(const std::string& table, RowId id) {
    return TryAdvisory("row", table, id, false);
}

void PgConnection::UnlockRow(const std::string& table, RowId id) {
    EndAdvisory("row", table, id, false);
}

}  // namespace engine::storage::postgres
