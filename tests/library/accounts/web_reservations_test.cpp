// A user's own page and the reservations they take and cancel from the web:
// only their own rows, the desk's numbering and book mark, the refusals a
// pupil alone at a tablet meets, and a cancel that reaches nobody else's.
#include <gtest/gtest.h>

#include "desk/reservation_rules.h"
#include "engine/common/dates.h"
#include "engine/session/session.h"
#include "library/accounts/own_page.h"
#include "library/accounts/web_reservations.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::accounts;
using kashidashi::library::ExecuteRows;
using kashidashi::library::IntegerOf;
using kashidashi::library::SelectRows;

class WebReservationsTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        // Books 7 and 8 are two copies of one title on the shelf, 9 may not
        // be lent; book 2 (lent to 100001) shares its title with book 10.
        RunSql(data,
               "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF) Values"
               " (7, 'うちゅうのふしぎ', '978400000001', False),"
               " (8, 'うちゅうのふしぎ', '978400000001', False),"
               " (10, '本2の二冊目', '978400000002', False);"
               "Insert Into Book (BOOK_ID, syomei2, kintaiF) Values (9, '百科事典', True);"
               "Update Book Set ISBN='978400000002' Where BOOK_ID=2;"
               "Update kashibo Set ISBN_ID='978400000002' Where BOOK_ID=2");
    }
    WebUser User(const char* number) { return *FindWebUser(Connection(), number); }
    ReserveResult Reserve(const char* number, int64_t book, int limit = 3) {
        return ReserveTitle(Connection(), engine::TDBSession::Default(), User(number), book, limit);
    }
    bool Reserved(int64_t book) {
        auto rows = SelectRows(Connection(), "Select yoyakuF From Book Where BOOK_ID=:PM1",
                               {{"pm1", engine::Value(book)}});
        const auto& flag = rows.rows.at(0).values.at(0);
        return flag.IsBool() && flag.Bool();
    }
};

TEST_F(WebReservationsTest, ReservingTakesTheDesksNumberTheBooksMarkAndAPlaceInTheTitlesQueue) {
    auto first = Reserve("10102", 7);
    ASSERT_EQ(first.outcome, ReserveOutcome::Reserved);
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.place, 1);
    EXPECT_TRUE(Reserved(7));
    EXPECT_FALSE(Reserved(8));  // the mark goes on the reserved copy, as at the desk
    // The second pupil reserves the other copy: the title's queue spans both.
    auto second = Reserve("10201", 8);
    EXPECT_EQ(second.number, 1);
    EXPECT_EQ(second.place, 2);
    auto third = Reserve("10202", 7);
    EXPECT_EQ(third.number, 2);
    EXPECT_EQ(third.place, 3);
    // The row the desk's lists read.
    auto rows = SelectRows(Connection(),
                           "Select Name_ID, Seito_No, Name, ISBN_ID, yoyakubi From yoyaku"
                           " Where Book_ID=7 Order By yoyaku_No");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(kashidashi::library::TextOf(rows.rows[0].values[0]), "100002");
    EXPECT_EQ(kashidashi::library::TextOf(rows.rows[0].values[1]), "10102");
    EXPECT_EQ(kashidashi::library::TextOf(rows.rows[0].values[2]), "井上　花子");
    EXPECT_EQ(kashidashi::library::TextOf(rows.rows[0].values[3]), "978400000001");
    EXPECT_EQ(kashidashi::library::DateOf(rows.rows[0].values[4]), engine::Today());
    // Each sees their own place on their page, and nothing of the others.
    auto page = ReadOwnPage(Connection(), "100003", engine::Today(), false);
    ASSERT_EQ(page.reservations.size(), 1u);
    EXPECT_EQ(page.reservations[0].book, 8);
    EXPECT_EQ(page.reservations[0].place, 2);
    EXPECT_EQ(page.reservations[0].title, "うちゅうのふしぎ");
    EXPECT_TRUE(page.loans.size() == 1 && page.loans[0].book == 4);
    // The first one cancels: the others move up; the copy's mark stays
    // while the title is still queued for (on either copy), as at the desk.
    EXPECT_TRUE(CancelOwnReservation(Connection(), User("10102"), 7));
    EXPECT_EQ(ReadOwnPage(Connection(), "100003", engine::Today(), false).reservations[0].place, 1);
    EXPECT_TRUE(Reserved(7));
    EXPECT_TRUE(CancelOwnReservation(Connection(), User("10202"), 7));
    EXPECT_TRUE(Reserved(7));
    EXPECT_TRUE(CancelOwnReservation(Connection(), User("10201"), 8));
    EXPECT_FALSE(Reserved(8));
}

TEST_F(WebReservationsTest, TheRefusalsOfTheWeb) {
    ASSERT_EQ(Reserve("10101", 7).outcome, ReserveOutcome::Reserved);
    const struct {
        const char* user;
        int64_t book;
        int limit;
        ReserveOutcome outcome;
    } cases[] = {
        {"10101", 999, 3, ReserveOutcome::NoSuchBook},
        {"10101", 9, 3, ReserveOutcome::NotLendable},
        {"10101", 2, 3, ReserveOutcome::HeldByUser},
        {"10101", 10, 3, ReserveOutcome::HeldByUser},
        {"10101", 7, 3, ReserveOutcome::AlreadyReserved},
        {"10101", 8, 3, ReserveOutcome::AlreadyReserved},
        {"10101", 4, 1, ReserveOutcome::OverLimit},
    };
    for (const auto& c : cases) {
        auto result = Reserve(c.user, c.book, c.limit);
        EXPECT_EQ(result.outcome, c.outcome) << c.book;
    }
    EXPECT_EQ(SelectRows(Connection(), "Select Book_ID From yoyaku").rows.size(), 1u);
    // Somebody else's loan does not stop a reservation.
    EXPECT_EQ(Reserve("10101", 4).outcome, ReserveOutcome::Reserved);
}

TEST_F(WebReservationsTest, ACancelReachesOnlyTheUsersOwnReservations) {
    ASSERT_EQ(Reserve("10101", 7).outcome, ReserveOutcome::Reserved);
    ASSERT_EQ(Reserve("10102", 7).outcome, ReserveOutcome::Reserved);
    EXPECT_FALSE(CancelOwnReservation(Connection(), User("10201"), 7));
    EXPECT_FALSE(CancelOwnReservation(Connection(), User("10102"), 8));
    EXPECT_FALSE(CancelOwnReservation(Connection(), User("10102"), 999));
    EXPECT_EQ(SelectRows(Connection(), "Select Book_ID From yoyaku").rows.size(), 2u);
    EXPECT_TRUE(CancelOwnReservation(Connection(), User("10102"), 7));
    auto left = SelectRows(Connection(), "Select Name_ID From yoyaku").rows;
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(kashidashi::library::TextOf(left[0].values[0]), "100001");
}

TEST_F(WebReservationsTest, TheOwnPageShowsLoansOverdueMarkedAndTheRecordOnlyWhenAsked) {
    const engine::Date day = *engine::ParseDate("2025/06/10");
    auto page = ReadOwnPage(Connection(), "100001", day, false);
    ASSERT_EQ(page.loans.size(), 1u);
    EXPECT_EQ(page.loans[0].book, 2);
    EXPECT_EQ(page.loans[0].title, "本2");
    EXPECT_EQ(engine::FormatDate(page.loans[0].due), "2025/06/09");
    EXPECT_TRUE(page.loans[0].overdue);
    EXPECT_TRUE(page.record.empty());
    page = ReadOwnPage(Connection(), "100001", day, true);
    ASSERT_EQ(page.record.size(), 1u);
    EXPECT_EQ(page.record[0].book, 3);
    EXPECT_EQ(engine::FormatDate(page.record[0].returnedOn), "2025/05/30");
    // Due today is not overdue yet.
    auto other = ReadOwnPage(Connection(), "100002", day, true);
    ASSERT_EQ(other.loans.size(), 1u);
    EXPECT_EQ(other.loans[0].book, 1);
    EXPECT_FALSE(other.loans[0].overdue);
    EXPECT_TRUE(other.record.empty());
    // A number of nobody shows nothing.
    auto nobody = ReadOwnPage(Connection(), "' or ''='", day, true);
    EXPECT_TRUE(nobody.loans.empty() && nobody.record.empty() && nobody.reservations.empty());
}

}  // namespace
}  // namespace library_test
