// The check's own Reg row, its start and its end (inventory.h).
#include "engine/common/dates.h"
#include "library/connection_transaction.h"
#include "library/inventory.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

// Row 21 written whole: an Insert when it does not exist yet.
void WriteRegRow(Connection& connection, const std::string& started, int running,
                 const std::string& finished) {
    SqlParams params{{"pm1", Value(started)},
                     {"pm2", Value(int64_t{running})},
                     {"pm3", finished.empty() ? Value() : Value(finished)},
                     {"pm4", Value(kInventoryRegId)}};
    if (ExecuteRows(connection, "Update Reg Set A1=:PM1, N1=:PM2, A2=:PM3 Where ID=:PM4", params) ==
        0)
        ExecuteRows(connection, "Insert Into Reg (ID, A1, N1, A2) Values (:PM4, :PM1, :PM2, :PM3)",
                    params);
}

}  // namespace

InventoryState ReadInventoryState(Connection& connection) {
    auto rows = SelectRows(connection, "Select A1, N1 From Reg Where ID=:PM1",
                           {{"pm1", Value(kInventoryRegId)}});
    InventoryState state;
    if (rows.rows.empty()) return state;
    state.startedOn = engine::ParseDate(TextOf(rows.rows[0].values[0]));
    state.running = IntegerOf(rows.rows[0].values[1]) == 1 && state.startedOn.has_value();
    return state;
}

void StartInventory(Connection& connection, engine::Date today) {
    ConnectionTransaction transaction(connection);
    ExecuteRows(connection, "Update Book Set tenkenF=:PM1 Where tenkenF=:PM2",
                {{"pm1", Value()}, {"pm2", Value(true)}});
    WriteRegRow(connection, engine::FormatDate(today), 1, "");
    transaction.Commit();
}

int FinishInventory(Connection& connection, const std::vector<int64_t>& discarded,
                    engine::Date today) {
    auto state = ReadInventoryState(connection);
    ConnectionTransaction transaction(connection);
    int written = 0;
    for (int64_t number : discarded)
        written += static_cast<int>(
            ExecuteRows(connection,
                        "Update Book Set haikiF=:PM1, haiki_date=:PM2 Where BOOK_ID=:PM3 and"
                        " (tenkenF Is Null or tenkenF=:PM4)",
                        {{"pm1", Value(true)},
                         {"pm2", Value(today)},
                         {"pm3", Value(number)},
                         {"pm4", Value(false)}}));
    const std::string started = state.startedOn ? engine::FormatDate(*state.startedOn) : "";
    WriteRegRow(connection, started, 0, engine::FormatDate(today));
    transaction.Commit();
    return written;
}

}  // namespace kashidashi::library
