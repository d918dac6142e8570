#include "library/accounts/own_page.h"

#include <algorithm>

#include "desk/reservation_rules.h"
#include "library/sql_rows.h"

namespace kashidashi::accounts {
namespace {

using engine::Value;
using engine::storage::Connection;
using library::DateOf;
using library::IntegerOf;
using library::SelectRows;
using library::TextOf;

std::vector<OwnLoan> Loans(Connection& connection, const std::string& nameId, engine::Date today) {
    auto rows = SelectRows(connection,
                           "Select kashibo.BOOK_ID, Book.syomei2, kashibo.kashidashibi,"
                           " kashibo.henkyakuyotei From kashibo"
                           " Left Join Book On kashibo.BOOK_ID=Book.BOOK_ID"
                           " Where kashibo.NAME_ID=:PM1 and kashibo.kashidashiF=:PM2"
                           " Order By kashibo.henkyakuyotei, kashibo.BOOK_ID",
                           {{"pm1", Value(nameId)}, {"pm2", Value("1")}});
    std::vector<OwnLoan> loans;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        OwnLoan loan{IntegerOf(v[0]), TextOf(v[1]), DateOf(v[2]).value_or(engine::Date{}),
                     DateOf(v[3]).value_or(engine::Date{}), false};
        loan.overdue = DateOf(v[3]) && loan.due < today;
        loans.push_back(std::move(loan));
    }
    return loans;
}

// The place of a reservation in the queue of its book and title, as the
// desk's lending and return consult it.
int PlaceInQueue(Connection& connection, int64_t book, int64_t number, const std::string& isbn12) {
    auto queue = desk::TitleQueue(connection, book, isbn12);
    for (size_t i = 0; i < queue.size(); ++i)
        if (queue[i].bookId == book && queue[i].number == number) return static_cast<int>(i) + 1;
    return 0;
}

std::vector<OwnReservation> Reservations(Connection& connection, const std::string& nameId) {
    auto rows = SelectRows(connection,
                           "Select yoyaku.Book_ID, yoyaku.yoyaku_No, Book.syomei2,"
                           " yoyaku.yoyakuDTime, Book.ISBN From yoyaku"
                           " Left Join Book On yoyaku.Book_ID=Book.BOOK_ID"
                           " Where yoyaku.Name_ID=:PM1 Order By yoyaku.yoyakuDTime",
                           {{"pm1", Value(nameId)}});
    std::vector<OwnReservation> reservations;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        OwnReservation reservation{IntegerOf(v[0]), IntegerOf(v[1]), TextOf(v[2]),
                                   v[3].IsDateTime() ? v[3].DateTimeValue() : engine::DateTime{},
                                   0};
        reservation.place = PlaceInQueue(connection, reservation.book, reservation.number,
                                         TextOf(v[4]).substr(0, 12));
        reservations.push_back(std::move(reservation));
    }
    return reservations;
}

std::vector<ReadBook> Record(Connection& connection, const std::string& nameId) {
    auto rows = SelectRows(connection,
                           "Select kashibo.BOOK_ID, Book.syomei2, kashibo.kashidashibi,"
                           " kashibo.henkyakubi From kashibo"
                           " Left Join Book On kashibo.BOOK_ID=Book.BOOK_ID"
                           " Where kashibo.NAME_ID=:PM1 and kashibo.henkyakubi is not Null"
                           " Order By kashibo.henkyakubi Desc, kashibo.kashidashibi Desc",
                           {{"pm1", Value(nameId)}});
    std::vector<ReadBook> record;
    for (const auto& row : rows.rows) {
        if (record.size() == kRecordRows) break;
        const auto& v = row.values;
        record.push_back({IntegerOf(v[0]), TextOf(v[1]), DateOf(v[2]).value_or(engine::Date{}),
                          DateOf(v[3]).value_or(engine::Date{})});
    }
    return record;
}

}  // namespace

OwnPage ReadOwnPage(Connection& connection, const std::string& nameId, engine::Date today,
                    bool withRecord) {
    OwnPage page;
    page.loans = Loans(connection, nameId, today);
    page.reservations = Reservations(connection, nameId);
    if (withRecord) page.record = Record(connection, nameId);
    return page;
}

}  // namespace kashidashi::accounts
