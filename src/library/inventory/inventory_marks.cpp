// The check's scope, the books marked 不明 and the write-offs of 完了
// (inventory.h, inventory_records.h).
#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/common/dates.h"
#include "engine/session/transaction_guard.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_records.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

double NumberOf(const Value& value) {
    return value.IsFloat() ? value.Float() : static_cast<double>(IntegerOf(value));
}

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

std::string PlaceName(Connection& connection, int64_t place) {
    auto rows =
        SelectRows(connection, "Select HKN From HKN Where HKN_ID=:PM1", {{"pm1", Value(place)}});
    return rows.rows.empty() ? std::to_string(place) : TextOf(rows.rows[0].values[0]);
}

// The book's title, call number and storage place name, when it exists.
std::optional<ScannedBook> ReadBook(Connection& connection, int64_t number) {
    auto rows = SelectRows(connection,
                           "Select Book.syomei2, Book.seikyu, HKN.HKN From Book Left Join HKN On"
                           " Book.HKN_ID=HKN.HKN_ID Where Book.BOOK_ID=:PM1",
                           {{"pm1", Value(number)}});
    if (rows.rows.empty()) return std::nullopt;
    const auto& v = rows.rows[0].values;
    return ScannedBook{number, TextOf(v[0]), TextOf(v[1]), TextOf(v[2])};
}

// The rows of one of the check's own tables with their book: the book's
// number, title, call number and place name, then `columns`.
struct RowOfBook {
    ScannedBook book;
    std::vector<Value> values;  // `columns`, in order
};
std::vector<RowOfBook> RowsWithTheirBooks(Connection& connection, const std::string& table,
                                          const std::string& columns,
                                          const std::string& where = "") {
    std::vector<RowOfBook> found;
    if (!HasInventoryTable(connection, table)) return found;
    auto rows = SelectRows(connection, "Select " + table + ".BOOK_ID, Book.syomei2, Book.seikyu," +
                                           " HKN.HKN, " + columns + " From " + table +
                                           " Left Join Book On " + table +
                                           ".BOOK_ID=Book.BOOK_ID"
                                           " Left Join HKN On Book.HKN_ID=HKN.HKN_ID" +
                                           where);
    for (auto& row : rows.rows) {
        const auto& v = row.values;
        found.push_back({{IntegerOf(v[0]), TextOf(v[1]), TextOf(v[2]), TextOf(v[3])},
                         std::vector<Value>(v.begin() + 4, v.end())});
    }
    return found;
}

}  // namespace

bool InventoryScope::Covers(const Value& bookPlace, const Value& ndc) const {
    if (place && (bookPlace.IsNull() || IntegerOf(bookPlace) != *place)) return false;
    if (!ndcFrom) return true;
    if (ndc.IsNull()) return false;
    const double code = NumberOf(ndc);
    return code >= *ndcFrom && code < *ndcTo + 1;
}

InventoryScope ReadInventoryScope(Connection& connection) {
    InventoryScope scope;
    if (!HasInventoryTable(connection, kScopeTable)) return scope;
    auto rows = SelectRows(connection, std::string("Select HKN_ID, NDC_FROM, NDC_TO From ") +
                                           kScopeTable + " Where ID=1");
    if (rows.rows.empty()) return scope;
    const auto& v = rows.rows[0].values;
    if (!v[0].IsNull()) scope.place = IntegerOf(v[0]);
    if (!v[1].IsNull()) {
        scope.ndcFrom = static_cast<int>(IntegerOf(v[1]));
        scope.ndcTo = v[2].IsNull() ? *scope.ndcFrom : static_cast<int>(IntegerOf(v[2]));
    }
    return scope;
}

std::string ScopeText(Connection& connection, const InventoryScope& scope) {
    if (scope.Whole()) return "全体";
    std::string text;
    if (scope.place) text = "保管場所 " + PlaceName(connection, *scope.place);
    if (scope.ndcFrom)
        text += (text.empty() ? "" : "、") + std::string("NDC ") + std::to_string(*scope.ndcFrom) +
                "〜" + std::to_string(*scope.ndcTo);
    return text;
}

std::vector<LostBook> LostBooks(Connection& connection) {
    std::vector<LostBook> books;
    std::vector<std::tuple<int64_t, std::string, int64_t, LostBook>> sorted;
    for (auto& [book, v] : RowsWithTheirBooks(connection, kLostTable,
                                              "kx_lost.LOST_ON, kx_lost.LAST_ON, kx_lost.MISSES,"
                                              " Book.HKN_ID, Book.haikiF")) {
        if (IsSet(v[4])) continue;
        LostBook lost{book, DateOf(v[0]).value_or(engine::Date{}),
                      DateOf(v[1]).value_or(engine::Date{}), static_cast<int>(IntegerOf(v[2]))};
        const int64_t place = v[3].IsNull() ? INT64_MAX : IntegerOf(v[3]);
        sorted.emplace_back(place, lost.book.callNumber, lost.book.number, lost);
    }
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a), std::get<2>(a)) <
               std::tie(std::get<0>(b), std::get<1>(b), std::get<2>(b));
    });
    for (auto& entry : sorted) books.push_back(std::move(std::get<3>(entry)));
    return books;
}

RestoreAnswer RestoreWrittenOff(Connection& connection, int64_t number, engine::Date today) {
    if (!ReadBook(connection, number)) return RestoreAnswer::UnknownBook;
    if (!HasInventoryTable(connection, kWriteOffTable)) return RestoreAnswer::NotWrittenOff;
    const bool running = ReadInventoryState(connection).running;
    engine::TransactionGuard transaction(connection);
    const int64_t records =
        ExecuteRows(connection,
                    std::string("Update ") + kWriteOffTable +
                        " Set RESTORED_ON=:PM1 Where BOOK_ID=:PM2 and RESTORED_ON Is Null",
                    {{"pm1", Value(today)}, {"pm2", Value(number)}});
    // Only a book that is still written off comes back.
    const int64_t books = ExecuteRows(
        connection,
        "Update Book Set haikiF=:PM1, haiki_date=:PM2, tenkenF=:PM3 Where BOOK_ID=:PM4 and"
        " haikiF=:PM5",
        {{"pm1", Value()},
         {"pm2", Value()},
         {"pm3", running ? Value(true) : Value()},
         {"pm4", Value(number)},
         {"pm5", Value(true)}});
    if (records == 0 || books == 0) return RestoreAnswer::NotWrittenOff;  // rolled back
    Unmark(connection, number);
    transaction.Commit();
    return RestoreAnswer::Restored;
}

std::vector<WriteOff> WriteOffs(Connection& connection) {
    std::vector<WriteOff> list;
    for (auto& [book, v] : RowsWithTheirBooks(connection, kWriteOffTable,
                                              "kx_writeoff.STARTED, kx_writeoff.WRITTEN_ON",
                                              " Where kx_writeoff.RESTORED_ON Is Null"))
        list.push_back({book, TextOf(v[0]), DateOf(v[1]).value_or(engine::Date{})});
    std::sort(list.begin(), list.end(), [](const WriteOff& a, const WriteOff& b) {
        return std::tie(b.started, b.book.number) < std::tie(a.started, a.book.number);
    });
    return list;
}

}  // namespace kashidashi::library
