// The stock check's rules on the small school's folder: the start and its
// Reg row, the answers of each kind of scan, the return of a book found on
// the shelf, the progress and the books not found, the finish, a reader's
// file, and two readers scanning the same books at once.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "engine/common/dates.h"
#include "exchange/scan_file.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_file.h"
#include "library/inventory/inventory_summary.h"
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
        {"0000007", ScanAnswer::Checked, 7},       {"7", ScanAnswer::AlreadyChecked, 7},
        {"00-00-010", ScanAnswer::Checked, 10},    {"1", ScanAnswer::OnLoan, 1},
        {"11", ScanAnswer::Discarded, 11},         {"99999", ScanAnswer::Unknown, 99999},
        {"abc", ScanAnswer::NoNumber, 0},          {"9784000000017", ScanAnswer::AlreadyChecked, 7},
        {"9784000000024", ScanAnswer::Checked, 8}, {"9784999999999", ScanAnswer::Unknown, 0},
        {"0000000", ScanAnswer::Unknown, 0},
    };
    for (const auto& c : cases) {
        auto result = ScanText(Connection(), c.scan);
        EXPECT_EQ(result.answer, c.answer) << c.scan;
        EXPECT_EQ(result.book.number, c.book) << c.scan;
    }
    EXPECT_EQ(ScanText(Connection(), "9784000000024").copies, (std::vector<int64_t>{8, 9}));
    EXPECT_TRUE(Flag(1, "tenkenF"));   // a lent book found is checked all the same
    EXPECT_TRUE(Flag(11, "tenkenF"));  // and so is a discarded one
    // The texts of the unknown: a book number (even all zeros) is not an ISBN.
    EXPECT_EQ(AnswerText(ScanText(Connection(), "0000000")),
              "登録されていない図書番号です: 0000000");
    EXPECT_EQ(AnswerText(ScanText(Connection(), "9784999999999")),
              "登録されていないISBNです: 978499999999");
}

TEST_F(InventoryTest, AnIsbnOfSeveralCopiesChecksACopyOnTheShelf) {
    // One title: 12 lent, 13 discarded, 14 and 15 on the shelf; another with
    // no copy on the shelf (16 lent, 17 discarded).
    RunSql(data,
           "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF) Values (12, '本12',"
           " '978400000003', True);"
           "Insert Into Book (BOOK_ID, syomei2, ISBN, haikiF) Values (13, '本13', '978400000003',"
           " True);"
           "Insert Into Book (BOOK_ID, syomei2, ISBN) Values (14, '本14', '978400000003');"
           "Insert Into Book (BOOK_ID, syomei2, ISBN) Values (15, '本15', '978400000003');"
           "Insert Into Book (BOOK_ID, syomei2, ISBN, kashidashiF) Values (16, '本16',"
           " '978400000004', True);"
           "Insert Into Book (BOOK_ID, syomei2, ISBN, haikiF) Values (17, '本17', '978400000004',"
           " True)");
    struct Case {
        const char* scan;
        ScanAnswer answer;
        int64_t book;
    };
    const Case cases[] = {
        {"9784000000031", ScanAnswer::Checked, 14},
        {"9784000000031", ScanAnswer::Checked, 15},
        {"9784000000031", ScanAnswer::AlreadyChecked, 14},
        {"9784000000048", ScanAnswer::SeveralCopies, 0},
    };
    for (const auto& c : cases) {
        auto result = ScanText(Connection(), c.scan);
        EXPECT_EQ(result.answer, c.answer) << c.scan;
        EXPECT_EQ(result.book.number, c.book) << c.scan;
    }
    for (int64_t book : {12, 13, 16, 17}) EXPECT_FALSE(Flag(book, "tenkenF")) << book;
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
    auto scans = ScanReaderLines(Connection(), kashidashi::exchange::ParseScanFile(text),
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

TEST_F(InventoryTest, AFileTakenTwiceChecksNothingMoreAndACutRunGoesOn) {
    std::string text;
    for (int i = 0; i < 600; ++i) text += std::to_string(7 + i % 4) + "\n";
    // A run killed after its first batch: that batch stays, recorded.
    EXPECT_THROW(ScanReaderFile(Connection(), text, false,
                                [](size_t, size_t) { throw std::runtime_error("killed"); }),
                 std::runtime_error);
    auto rest = ScanReaderFile(Connection(), text);
    EXPECT_EQ(rest.skipped, kScansPerTransaction);
    EXPECT_EQ(rest.scans.size(), 600 - kScansPerTransaction);
    EXPECT_EQ(rest.scans.front().line.number, static_cast<int>(kScansPerTransaction) + 1);
    // Taken whole: refused, unless again; another content is another file.
    EXPECT_THROW(ScanReaderFile(Connection(), text), FileTakenBefore);
    EXPECT_EQ(ScanReaderFile(Connection(), text, true).scans.size(), 600u);
    EXPECT_EQ(ScanReaderFile(Connection(), text + "9\n").scans.size(), 601u);
    // A new check takes the file again.
    StartInventory(Connection(), *engine::ParseDate("2026/04/01"));
    EXPECT_EQ(Summarise(ScanReaderFile(Connection(), text).scans).checked, 4);
}

TEST_F(InventoryTest, BooksNotFoundAreMarkedLostAcrossChecksUntilFound) {
    auto finish = [&](const char* started, const char* finished) {
        StartInventory(Connection(), *engine::ParseDate(started));
        ScanText(Connection(), "7");
        ScanText(Connection(), "3");
        FinishInventory(Connection(), {}, *engine::ParseDate(finished));
    };
    finish("2026/03/01", "2026/03/05");
    finish("2027/03/01", "2027/03/05");
    auto lost = LostBooks(Connection());
    std::vector<int64_t> numbers;
    for (const auto& book : lost) numbers.push_back(book.book.number);
    EXPECT_EQ(numbers, (std::vector<int64_t>{10, 8, 9}));  // by place and call number
    EXPECT_EQ(engine::FormatDate(lost[0].lostOn), "2026/03/01");
    EXPECT_EQ(engine::FormatDate(lost[0].lastOn), "2027/03/01");
    EXPECT_EQ(lost[0].misses, 2);
    // Found by the next check, by a single scan and by a reader's file.
    StartInventory(Connection(), *engine::ParseDate("2028/03/01"));
    EXPECT_TRUE(ScanText(Connection(), "10").wasLost);
    EXPECT_FALSE(ScanText(Connection(), "10").wasLost);
    EXPECT_TRUE(ScanReaderFile(Connection(), "8\n").scans.at(0).result.wasLost);
    ASSERT_EQ(LostBooks(Connection()).size(), 1u);
    EXPECT_EQ(LostBooks(Connection())[0].book.number, 9);
}

TEST_F(InventoryTest, AWriteOffIsRecordedAndUndoneForABookThatTurnsUp) {
    EXPECT_EQ(FinishInventory(Connection(), {10, 9}, *engine::ParseDate("2026/03/20")), 2);
    auto offs = WriteOffs(Connection());
    ASSERT_EQ(offs.size(), 2u);
    EXPECT_EQ(offs[0].started, "2026/03/01");
    EXPECT_EQ(engine::FormatDate(offs[0].writtenOn), "2026/03/20");
    // Written off, the books are not 不明 besides.
    for (const auto& lost : LostBooks(Connection())) EXPECT_NE(lost.book.number, 10);
    struct Case {
        int64_t book;
        RestoreAnswer answer;
    };
    for (const Case& c :
         {Case{10, RestoreAnswer::Restored}, Case{10, RestoreAnswer::NotWrittenOff},
          Case{11, RestoreAnswer::NotWrittenOff}, Case{99, RestoreAnswer::UnknownBook}})
        EXPECT_EQ(RestoreWrittenOff(Connection(), c.book, *engine::ParseDate("2026/04/02")),
                  c.answer)
            << c.book;
    EXPECT_FALSE(Flag(10, "haikiF"));
    EXPECT_TRUE(Flag(9, "haikiF"));
    EXPECT_TRUE(Flag(11, "haikiF"));  // discarded otherwise: not ours to undo
    ASSERT_EQ(WriteOffs(Connection()).size(), 1u);
    auto kept = SelectRows(Connection(), "Select RESTORED_ON From kx_writeoff Where BOOK_ID=10");
    EXPECT_EQ(engine::FormatDate(*DateOf(kept.rows.at(0).values[0])), "2026/04/02");
}

TEST_F(InventoryTest, APartialCheckCoversItsPlaceOrClassesOnly) {
    ScanText(Connection(), "7");
    ScanText(Connection(), "8");
    struct Case {
        InventoryScope scope;
        int toCheck;
        std::vector<int64_t> missing;  // after scanning 9
        bool sevenStillChecked;
    };
    const Case cases[] = {
        {{.place = 1}, 3, {10, 8}, true},                    // 開架: 8, 9, 10
        {{.ndcFrom = 900, .ndcTo = 999}, 3, {8, 7}, false},  // 7, 8, 9
        {{}, 5, {10, 8, 7, 3}, false},
    };
    for (const auto& c : cases) {
        StartInventory(Connection(), *engine::ParseDate("2026/03/02"), c.scope);
        ScanText(Connection(), "9");
        auto progress = ReadInventoryProgress(Connection());
        EXPECT_EQ(progress.toCheck, c.toCheck);
        std::vector<int64_t> missing;
        for (const auto& book : BooksNotFound(Connection())) missing.push_back(book.number);
        EXPECT_EQ(missing, c.missing) << c.toCheck;
        EXPECT_EQ(Flag(7, "tenkenF"), c.sevenStillChecked);
        ScanText(Connection(), "7");
        ScanText(Connection(), "8");
    }
    // A place check marks only its own books 不明.
    StartInventory(Connection(), *engine::ParseDate("2026/03/03"), {.place = 1});
    ScanText(Connection(), "8");
    FinishInventory(Connection(), {}, *engine::ParseDate("2026/03/03"));
    std::vector<int64_t> lost;
    for (const auto& book : LostBooks(Connection())) lost.push_back(book.book.number);
    EXPECT_EQ(lost, (std::vector<int64_t>{10, 9}));
}

TEST_F(InventoryTest, TheYearSummaryCountsByClass) {
    RunSql(data,
           "Update Book Set haiki_date='2026/06/01' Where BOOK_ID=11;"
           "Insert Into Book (BOOK_ID, syomei2, NDC_ID, haikiF, haiki_date) Values (12, '本12',"
           " 4, True, '2027/04/01')");
    ScanText(Connection(), "7");
    ScanText(Connection(), "10");
    FinishInventory(Connection(), {8}, *engine::ParseDate("2027/03/10"));
    auto lines = YearSummary(Connection(), 2026);
    ASSERT_EQ(lines.size(), 12u);
    auto text = [&](size_t line) {
        std::string joined;
        for (const auto& cell : SummaryTexts(lines[line])) joined += cell + " ";
        return joined;
    };
    // 9: 7 checked, 8 written off by the check, 9 lost; 2: 10 checked;
    // unset: 1 to 6 (all but 3 lent), 11 discarded in the year; 12 the next year.
    EXPECT_EQ(text(2), "2 歴史 1 1 0 0 0 ");
    EXPECT_EQ(text(4), "4 自然科学 0 0 0 0 0 ");
    EXPECT_EQ(text(9), "9 文学 2 1 1 1 1 ");
    EXPECT_EQ(text(10), "未設定 6 0 1 1 0 ");
    EXPECT_EQ(text(11), "合計 9 2 2 2 1 ");
}

}  // namespace
}  // namespace library_test
