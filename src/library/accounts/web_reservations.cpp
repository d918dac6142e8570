#include "library/accounts/web_reservations.h"

#include "desk/reservation_rules.h"
#include "engine/common/error.h"
#include "library/connection_transaction.h"
#include "library/sql_rows.h"

namespace kashidashi::accounts {
namespace {

using engine::Value;
using engine::storage::Connection;
using library::IntegerOf;
using library::SelectRows;
using library::TextOf;

struct BookFacts {
    std::string isbn12;
    bool lendable = false;
};

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

std::optional<BookFacts> ReadBook(Connection& connection, int64_t book) {
    auto rows =
        SelectRows(connection, "Select ISBN, kintaiF, haikiF, sakujoF From Book Where BOOK_ID=:PM1",
                   {{"pm1", Value(book)}})
            .rows;
    if (rows.empty()) return std::nullopt;
    const auto& v = rows.front().values;
    return BookFacts{TextOf(v[0]).substr(0, 12), !IsSet(v[1]) && !IsSet(v[2]) && !IsSet(v[3])};
}

// An open loan of the book or of a copy of its title to the user.
bool HoldsTitle(Connection& connection, const std::string& nameId, int64_t book,
                const std::string& isbn12) {
    auto rows = SelectRows(connection,
                           "Select BOOK_ID From kashibo Where NAME_ID=:PM1 and kashidashiF=:PM2"
                           " and (BOOK_ID=:PM3 or (ISBN_ID is not Null and ISBN_ID=:PM4))",
                           {{"pm1", Value(nameId)},
                            {"pm2", Value("1")},
                            {"pm3", Value(book)},
                            {"pm4", Value(isbn12)}});
    return !rows.rows.empty();
}

int64_t ReservationsOf(Connection& connection, const std::string& nameId) {
    return static_cast<int64_t>(SelectRows(connection,
                                           "Select Book_ID From yoyaku Where Name_ID=:PM1",
                                           {{"pm1", Value(nameId)}})
                                    .rows.size());
}

int PlaceOf(Connection& connection, int64_t book, int64_t number, const std::string& isbn12) {
    auto queue = desk::TitleQueue(connection, book, isbn12);
    for (size_t i = 0; i < queue.size(); ++i)
        if (queue[i].bookId == book && queue[i].number == number) return static_cast<int>(i) + 1;
    return 0;
}

// The checks and the store in one transaction, so that two tries at once
// cannot both pass the limit or both take the title.
ReserveResult TryReserve(Connection& connection, const engine::TDBSession& locks,
                         const WebUser& user, int64_t book, int limit) {
    library::ConnectionTransaction transaction(connection);
    auto facts = ReadBook(connection, book);
    if (!facts) return {ReserveOutcome::NoSuchBook};
    if (!facts->lendable) return {ReserveOutcome::NotLendable};
    if (HoldsTitle(connection, user.nameId, book, facts->isbn12))
        return {ReserveOutcome::HeldByUser};
    for (const auto& queued : desk::TitleQueue(connection, book, facts->isbn12))
        if (queued.nameId == user.nameId) return {ReserveOutcome::AlreadyReserved};
    if (ReservationsOf(connection, user.nameId) >= limit) return {ReserveOutcome::OverLimit};
    ReserveResult result{ReserveOutcome::Reserved};
    result.number = desk::AppendReservation(connection, locks, book, facts->isbn12,
                                            {user.nameId, user.pupilNo, user.name});
    result.place = PlaceOf(connection, book, result.number, facts->isbn12);
    transaction.Commit();
    return result;
}

}  // namespace

ReserveResult ReserveTitle(Connection& connection, const engine::TDBSession& locks,
                           const WebUser& user, int64_t book, int limit) {
    // A desk that numbered the same book at the same moment makes the
    // number a duplicate: the second try takes the next one.
    for (int attempt = 0;; ++attempt) {
        try {
            return TryReserve(connection, locks, user, book, limit);
        } catch (const engine::EngineError& error) {
            if (error.code() != engine::err::kDuplicateKey || attempt == 1) throw;
        }
    }
}

bool CancelOwnReservation(Connection& connection, const WebUser& user, int64_t book) {
    library::ConnectionTransaction transaction(connection);
    auto facts = ReadBook(connection, book);
    const int64_t removed = desk::RemoveReservations(connection, book, user.nameId,
                                                     facts ? facts->isbn12 : std::string());
    transaction.Commit();
    return removed > 0;
}

}  // namespace kashidashi::accounts
