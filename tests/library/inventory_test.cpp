// The stock check's rules on the small school's folder: the start and its
// Reg row, the answers of each kind of scan, the return of a book found on
// the shelf, the progress and the books not found, the finish, a reader's
// file, and two readers scanning the same books at once.
#include <gtest/gtest.h>

#include <thread>

#include "engine/common/dates.h"
#include "library/inventory.h"
#include "library/inventory_file.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::library;
using engine::Value;

// Besides the school's books 1 to 6 (all lent but 3): books 7 to 11 on the
// shelves of two places, 8 and 9 copies of one ISBN, 11 discarded.
class InventoryTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        RunSql(data,
               "Insert Into HKN (HKN_ID, HKN) Values (1, '開架');"
               "Insert Into HKN (HKN_ID, HKN) Values (2, '書庫');"
               "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID, ISBN) Values"
               " (7, '本7', '913/ア', 2, 913, '978400000001');"
               "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID, ISBN) Values"
               " (8, '本8', '913/イ', 1, 913, '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID, ISBN) Values"
               " (9, '本9', '913/イ', 1, 913, '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID) Values"
               " (10, '本10', '210/ウ', 1, 210);"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, haikiF) Values (11, '本11', 1, True)");
        // Books may be named by their ISBN (Reg row 2, N2 0).
        RunSql(data, "Update Reg Set N2=0 Where ID=2");
        StartInventory(Connection(), *engine::ParseDate("2026/03/01"));
    }
    bool Flag(int64_t book, const char* column) {
        auto rows = SelectRows(Connection(),
                               std::string("Select ") + column + " From Book Where BOOK_ID=:PM1",
                               {{"pm1", Value(book)}});
        const Value& flag = rows.rows.at(0).values[0];
        return flag.IsBool() && flag.Bool();
    }
};

TEST_F(InventoryTest, StartingClearsEveryCheckAndRecordsTheDateInRegRow21) {
    ScanBookNumber(Connection(), 7);
    EXPECT_TRUE(Flag(7, "tenkenF"));
    StartInventory(Connection(), *engine::ParseDate("2026/04/02"));
    EXPECT_FALSE(Flag(7, "tenkenF"));
    auto state = ReadInventoryState(Connection());
    EXPECT_TRUE(state.running);
    EXPECT_EQ(engine::FormatDate(*state.startedOn), "2026/04/02");
    auto reg = SelectRows(Connection(), "Select A1, N1 From Reg Where ID=21");
    ASSERT_EQ(reg.rows.size(), 1u);
    EXPECT_EQ(TextOf(reg.rows[0].values[0]), "2026/04/02");
}

TEST_F(InventoryTest, EachScanAnswersWhatItFound) {
    struct Case {
        const char* scan;
        ScanAnswer answer;
        int64_t book;
    };
    const Case cases[] = {
        {"0000007", ScanAnswer::Checked, 7},
        {"7", ScanAnswer::AlreadyChecked, 7},
        {"00-00-010", ScanAnswer::Checked, 10},
        {"1", ScanAnswer::OnLoan, 1},
        {"11", ScanAnswer::Discarded, 11},
        {"99999", ScanAnswer::Unknown, 99999},
        {"abc", ScanAnswer::NoNumber, 0},
        {"9784000000017", ScanAnswer::AlreadyChecked, 7},
        {"9784000000024", ScanAnswer::SeveralCopies, 0},
        {"9784999999999", ScanAnswer::Unknown, 0},
    };
    for (const auto& c : cases) {
        auto result = ScanText(Connection(), c.scan);
        EXPECT_EQ(result.answer, c.answer) << c.scan;
        EXPECT_EQ(result.book.number, c.book) << c.scan;
    }
    EXPECT_EQ(ScanText(Connection(), "9784000000024").copies, (std::vector<int64_t>{8, 9}));
    EXPECT_TRUE(Flag(1, "tenkenF"));   // a lent book found is checked all the same
    EXPECT_TRUE(Flag(11, "tenkenF"));  // and so is a discarded one
    EXPECT_FALSE(Flag(8, "tenkenF"));  // the copies wait for the operator's choice
}

TEST_F(InventoryTest, AnIsbnOfSeveralCopiesInAFileChecksTheNextCopyEachTime) {
    EXPECT_EQ(ScanText(Connection(), "9784000000024", true).book.number, 8);
    EXPECT_EQ(ScanText(Connection(), "9784000000024", true).book.number, 9);
    EXPECT_EQ(ScanText(Connection(), "9784000000024", true).answer, ScanAnswer::AlreadyChecked);
}

TEST_F(InventoryTest, ABookFoundOnTheShelfIsReturnedAsTheDeskReturnsIt) {
    EXPECT_TRUE(ReturnFoundBook(Connection(), 1, *engine::ParseDate("2026/03/02")));
    EXPECT_FALSE(Flag(1, "kashidashiF"));
    auto loan =
        SelectRows(Connection(), "Select kashidashiF, henkyakubi From kashibo Where BOOK_ID=1");
    EXPECT_TRUE(loan.rows.at(0).values[0].IsNull());
    EXPECT_EQ(engine::FormatDate(*DateOf(loan.rows[0].values[1])), "2026/03/02");
    auto user = SelectRows(Connection(), "Select mihenkyakuSU From Name Where NAME_ID='100002'");
    EXPECT_EQ(IntegerOf(user.rows.at(0).values[0]), 0);
    EXPECT_FALSE(ReservationsWaiting(Connection(), 1));
    RunSql(data,
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID) Values"
           " (0, 1, '100001', '978400000002')");
    EXPECT_TRUE(ReservationsWaiting(Connection(), 9));  // its title is reserved
    // No loan is open any more: nothing to close, and no count goes below 0.
    EXPECT_FALSE(ReturnFoundBook(Connection(), 1, *engine::ParseDate("2026/03/02")));
}

TEST_F(InventoryTest, ProgressAndTheBooksNotFoundByPlaceAndCallNumber) {
    ScanText(Connection(), "8");
    auto progress = ReadInventoryProgress(Connection());
    // To be checked: 3, 7, 8, 9, 10 (neither lent nor discarded).
    EXPECT_EQ(progress.checked, 1);
    EXPECT_EQ(progress.toCheck, 5);
    ASSERT_EQ(progress.byPlace.size(), 3u);
    EXPECT_EQ(progress.byPlace[0].group, "開架");
    EXPECT_EQ(progress.byPlace[0].checked, 1);
    EXPECT_EQ(progress.byPlace[0].toCheck, 3);
    EXPECT_EQ(progress.byPlace[2].group, "未設定");
    ASSERT_EQ(progress.byClass.size(), 3u);
    EXPECT_EQ(progress.byClass[0].group, "2類");
    EXPECT_EQ(progress.byClass[1].group, "9類");
    EXPECT_EQ(progress.byClass[1].toCheck, 3);
    std::vector<int64_t> missing;
    for (const auto& book : BooksNotFound(Connection())) missing.push_back(book.number);
    EXPECT_EQ(missing, (std::vector<int64_t>{10, 9, 7, 3}));
}

TEST_F(InventoryTest, FinishingWritesOffTheChosenBooksWithTheDate) {
    ScanText(Connection(), "7");  // found by a reader after it was chosen
    EXPECT_EQ(FinishInventory(Connection(), {10, 7}, *engine::ParseDate("2026/03/20")), 1);
    EXPECT_TRUE(Flag(10, "haikiF"));
    EXPECT_FALSE(Flag(7, "haikiF"));
    EXPECT_FALSE(Flag(9, "haikiF"));
    auto day = SelectRows(Connection(), "Select haiki_date From Book Where BOOK_ID=10");
    EXPECT_EQ(engine::FormatDate(*DateOf(day.rows.at(0).values[0])), "2026/03/20");
    auto state = ReadInventoryState(Connection());
    EXPECT_FALSE(state.running);
    EXPECT_EQ(engine::FormatDate(*state.startedOn), "2026/03/01");
}

TEST_F(InventoryTest, AReadersFileIsTakenInBatchesWithItsAnswers) {
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += "2026/03/02 10:00:00\t" + std::to_string(7 + i % 4) + "\n";
    text += "99999\n";
    size_t calls = 0;
    auto scans = ScanReaderLines(Connection(), kashidashi::desk::ParseScanFile(text),
                                 [&](size_t, size_t) { ++calls; });
    EXPECT_EQ(calls, 3u);
    auto summary = Summarise(scans);
    EXPECT_EQ(summary.checked, 4);
    EXPECT_EQ(summary.already, 596);
    EXPECT_EQ(summary.unknown, 1);
    EXPECT_EQ(ReadInventoryProgress(Connection()).checked, 4);
}

TEST_F(InventoryTest, TwoReadersScanningTheSameBooksAtOnceCountEachOnce) {
    auto reader = [&](int* checked) {
        PlaceConnection own(DataPlace::Folder(data));
        for (int round = 0; round < 20; ++round)
            for (int64_t book : {3, 7, 8, 9, 10})
                if (ScanBookNumber(*own, book).answer == ScanAnswer::Checked) ++*checked;
    };
    int first = 0, second = 0;
    std::thread a(reader, &first), b(reader, &second);
    a.join();
    b.join();
    EXPECT_EQ(first + second, 5);
    EXPECT_EQ(ReadInventoryProgress(Connection()).checked, 5);
}

}  // namespace
}  // namespace library_test
