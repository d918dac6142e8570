// The check's own Reg row, its start and its end (inventory.h).
#include <set>

#include "engine/common/dates.h"
#include "engine/session/transaction_guard.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_records.h"
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

// The scope row, or none for the whole library.
void WriteScope(Connection& connection, const InventoryScope& scope) {
    if (scope.Whole() && !HasInventoryTable(connection, kScopeTable)) return;
    EnsureInventoryTable(connection, kScopeTable);
    ExecuteRows(connection, std::string("Delete From ") + kScopeTable);
    if (scope.Whole()) return;
    ExecuteRows(connection,
                std::string("Insert Into ") + kScopeTable +
                    " (ID, HKN_ID, NDC_FROM, NDC_TO) Values (1, :PM1, :PM2, :PM3)",
                {{"pm1", scope.place ? Value(*scope.place) : Value()},
                 {"pm2", scope.ndcFrom ? Value(int64_t{*scope.ndcFrom}) : Value()},
                 {"pm3", scope.ndcTo ? Value(int64_t{*scope.ndcTo}) : Value()}});
}

// A write-off of 完了 and its record; false for a book found meanwhile.
bool WriteOffBook(Connection& connection, int64_t number, const std::string& started,
                  engine::Date today) {
    const bool written =
        ExecuteRows(connection,
                    "Update Book Set haikiF=:PM1, haiki_date=:PM2 Where BOOK_ID=:PM3 and"
                    " (tenkenF Is Null or tenkenF=:PM4)",
                    {{"pm1", Value(true)},
                     {"pm2", Value(today)},
                     {"pm3", Value(number)},
                     {"pm4", Value(false)}}) > 0;
    if (!written) return false;
    SqlParams params{{"pm1", Value(started)}, {"pm2", Value(number)}, {"pm3", Value(today)}};
    // A check finished twice with the same start writes the book off once more.
    ExecuteRows(
        connection,
        std::string("Delete From ") + kWriteOffTable + " Where STARTED=:PM1 and BOOK_ID=:PM2",
        params);
    ExecuteRows(connection,
                std::string("Insert Into ") + kWriteOffTable +
                    " (STARTED, BOOK_ID, WRITTEN_ON) Values (:PM1, :PM2, :PM3)",
                params);
    return true;
}

// The first miss keeps its date; later ones count up.
void MarkLost(Connection& connection, int64_t number, engine::Date checkDate) {
    auto rows =
        SelectRows(connection,
                   std::string("Select LAST_ON, MISSES From ") + kLostTable + " Where BOOK_ID=:PM1",
                   {{"pm1", Value(number)}});
    if (rows.rows.empty()) {
        ExecuteRows(connection,
                    std::string("Insert Into ") + kLostTable +
                        " (BOOK_ID, LOST_ON, LAST_ON, MISSES) Values (:PM1, :PM2, :PM2, 1)",
                    {{"pm1", Value(number)}, {"pm2", Value(checkDate)}});
        return;
    }
    const auto& v = rows.rows[0].values;
    auto last = DateOf(v[0]);
    if (last && !(*last < checkDate)) return;  // this very check marked it already
    ExecuteRows(
        connection,
        std::string("Update ") + kLostTable + " Set LAST_ON=:PM2, MISSES=:PM3 Where BOOK_ID=:PM1",
        {{"pm1", Value(number)}, {"pm2", Value(checkDate)}, {"pm3", Value(IntegerOf(v[1]) + 1)}});
}

}  // namespace

void Unmark(Connection& connection, int64_t number) {
    if (!HasInventoryTable(connection, kLostTable)) return;
    ExecuteRows(connection, std::string("Delete From ") + kLostTable + " Where BOOK_ID=:PM1",
                {{"pm1", Value(number)}});
}

InventoryState ReadInventoryState(Connection& connection) {
    auto rows = SelectRows(connection, "Select A1, N1 From Reg Where ID=:PM1",
                           {{"pm1", Value(kInventoryRegId)}});
    InventoryState state;
    if (rows.rows.empty()) return state;
    state.startedOn = engine::ParseDate(TextOf(rows.rows[0].values[0]));
    state.running = IntegerOf(rows.rows[0].values[1]) == 1 && state.startedOn.has_value();
    return state;
}

void StartInventory(Connection& connection, engine::Date today, const InventoryScope& scope) {
    engine::TransactionGuard transaction(connection);
    std::string where = "tenkenF=:PM2";
    SqlParams params{{"pm1", Value()}, {"pm2", Value(true)}};
    if (scope.place) {
        where += " and HKN_ID=:PM3";
        params["pm3"] = Value(*scope.place);
    }
    if (scope.ndcFrom) {
        where += " and NDC_ID>=:PM4 and NDC_ID<:PM5";
        params["pm4"] = Value(int64_t{*scope.ndcFrom});
        params["pm5"] = Value(int64_t{*scope.ndcTo} + 1);
    }
    ExecuteRows(connection, "Update Book Set tenkenF=:PM1 Where " + where, params);
    WriteScope(connection, scope);
    WriteRegRow(connection, engine::FormatDate(today), 1, "");
    transaction.Commit();
}

int FinishInventory(Connection& connection, const std::vector<int64_t>& discarded,
                    engine::Date today, int* markedLost) {
    auto state = ReadInventoryState(connection);
    const std::string started = state.startedOn ? engine::FormatDate(*state.startedOn) : "";
    const engine::Date checkDate = state.startedOn.value_or(today);
    auto missing = BooksNotFound(connection);
    EnsureInventoryTable(connection, kWriteOffTable);
    EnsureInventoryTable(connection, kLostTable);
    engine::TransactionGuard transaction(connection);
    std::set<int64_t> written;
    for (int64_t number : discarded)
        if (WriteOffBook(connection, number, started, today)) written.insert(number);
    int lost = 0;
    for (const auto& book : missing)
        if (!written.count(book.number)) {
            MarkLost(connection, book.number, checkDate);
            ++lost;
        }
    for (int64_t number : written) Unmark(connection, number);
    WriteRegRow(connection, started, 0, engine::FormatDate(today));
    transaction.Commit();
    if (markedLost) *markedLost = lost;
    return static_cast<int>(written.size());
}

}  // namespace kashidashi::library
