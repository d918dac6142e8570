// The desk cases: the desk's own operations (window-free, as the replay of
// scans runs them) over a data folder of 100,000 books and 300,000 loans,
// against hand-written SQLite C code doing the same reads and writes.
//
//   desk_book_scan  one book number scanned into Edit4 with a user entered:
//                   the entry rule, the book's search and checks, the
//                   reservation look-up and the pick-list append. Median of
//                   one scan.
//   desk_book_scan_1m  the same scan over a school of 1,000,000 books,
//                   30,000 users and 3,000,000 loans made by kashidashi-admin
//                   demo (kept in /tmp/kx-bench-school-1m for later runs).
//   desk_lend_5     Desk::Lend of five picked books: loan rows, books and
//                   user updated, the user's reservations fulfilled, one
//                   fully synced commit. Median of one lending.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_fixture.h"
#include "data/U_DM.h"
#include "data/U_MakeTable.h"
#include "data/schema.h"
#include "desk/desk.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "widgets/dialogs.h"

namespace bench {
namespace {

using kashidashi::TDM;
using kashidashi::desk::Desk;
using kashidashi::desk::DeskEdit;

constexpr int kBooks = 100'000;
constexpr int kLoans = 300'000;
constexpr int kUsers = 1'000;
constexpr int kReservedFrom = 95'001;  // books 95,001 on are reserved by other users
constexpr int kScans = 200;
constexpr int kLendings = 40;
constexpr int kLendBooks = 5;
constexpr int kLendFirstBook = 60'001;  // the five books the lending cases lend
const char* const kScanUser = "000007";
const char* const kLendUser = "000008";

std::string Isbn12(int book) {
    std::string digits = std::to_string(book);
    return "9784" + std::string(8 - digits.size(), '0') + digits;
}

// A prepared statement of the raw side, reset after every use.
class Stmt {
  public:
    Stmt(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in " + sql);
    }
    ~Stmt() { sqlite3_finalize(stmt_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* operator*() const { return stmt_; }
    Stmt& Int(int i, int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Stmt& Text(int i, const std::string& v) {
        sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(stmt_)));
        return rc == SQLITE_ROW;
    }
    void Run() {
        while (Step()) {
        }
        sqlite3_reset(stmt_);
    }
    void Reset() { sqlite3_reset(stmt_); }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

// The data tables made by the engine's own script, filled through raw
// SQLite: books (old enough to lend, none lent), users, returned loans,
// reservations of other users on the last books, and the Reg rows.
void MakeDataFolder(const std::string& folder) {
    {
        engine::TDBSession session("DESKBENCHSETUP");
        engine::TDBDatabase database("SETUP", session);
        database.SetDirectory(folder);
        engine::TDBQuery script;
        script.SetSessionName("DESKBENCHSETUP");
        script.SetDatabaseName("SETUP");
        script.SQL().SetText(kashidashi::DataTablesScript());
        script.ExecSQL();
    }
    int today = engine::Today().days;
    auto n = [](int count) {
        return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
               std::to_string(count) + ") ";
    };
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(n(kBooks) +
             "INSERT INTO Book (BOOK_ID, tourokubi, syomei1, syomei2, cyosya1, syuppansya, "
             "kakaku, NDC_ID, HKN_ID, kashidashiF, yoyakuF, kintaiF, heikaF, tenkenF, haikiF, "
             "ISBN, sakujoF) SELECT i, " +
             std::to_string(today - 400) +
             " - i % 300, '本の題名 ' || i, '本の題名 ' || i, '著者 ' || (i % 500), "
             "'出版社 ' || (i % 40), 1200, 913, 1, 0, 0, 0, 0, 0, 0, "
             "'9784' || substr('00000000' || i, -8) || (i % 10), 0 FROM n");
    raw.Exec(n(kUsers) +
             "INSERT INTO Name (NAME_ID, seito_No, sex, NAME, mihenkyakuSU, syozoku_ID) "
             "SELECT substr('000000' || i, -6), substr('00000' || i, -5), i % 2, "
             "'利用者 ' || i, 0, 101 FROM n");
    // Returned loans, spread over the books, the users and the past year.
    raw.Exec(n(kLoans) +
             "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF, seitoNo, "
             "kashidashibi, henkyakubi, ISBN_ID) SELECT (i * 7919) % " +
             std::to_string(kBooks) + " + 1, substr('000000' || (i % " + std::to_string(kUsers) +
             " + 1), -6), d + 14, '0', substr('00000' || (i % " + std::to_string(kUsers) +
             " + 1), -5), d, d + 10, '9784' || substr('00000000' || ((i * 7919) % " +
             std::to_string(kBooks) + " + 1), -8) FROM (SELECT i, " + std::to_string(today) +
             " - 365 + i % 350 AS d FROM n)");
    raw.Exec(n(kBooks - kReservedFrom + 1) +
             "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi, "
             "ISBN_ID, yoyakuDTime) SELECT " +
             std::to_string(kReservedFrom - 1) + " + i, 1, '000999', '00999', '利用者 999', " +
             std::to_string(today) + ", '9784' || substr('00000000' || (" +
             std::to_string(kReservedFrom - 1) + " + i), -8), " +
             std::to_string(int64_t{today} * engine::kMsecsPerDay) + " + i FROM n");
    raw.Exec("UPDATE Book SET yoyakuF = 1 WHERE BOOK_ID >= " + std::to_string(kReservedFrom));
    raw.Exec("INSERT INTO Reg (ID, N1, N2) VALUES (2, 7, 0)");
    raw.Exec("INSERT INTO Reg (ID, N1) VALUES (10, 5)");
    raw.Exec("COMMIT");
}

// The data module over the data folder and a settings folder (the program
// folder) prepared as the desk prepares it, the head lending `limit` books
// for 14 days.
void PrepareDataModule(const std::string& data, const std::string& settings, int limit) {
    TDM& dm = TDM::Create();
    dm.settings.ProgramFolder = settings;
    dm.settings.UserNumberMode = 5;
    dm.settings.IsbnLendingMode = 0;
    dm.DBDatabase2.SetConnected(false);
    dm.DBDatabase2.SetDirectory(settings);
    kashidashi::TMakeTable().MakeSettingsTables();
    dm.Head.SetSessionName(dm.DBSession2.SessionName());
    dm.Head.SetDatabaseName(settings);
    dm.DBSession1.SetSessionType(engine::SessionType::stLocal);
    dm.DBDatabase1.SetDirectory(data);
    RawDb head(settings);
    head.Exec("UPDATE Head SET PM1 = 14, kashisuu = " + std::to_string(limit));
}

// Every message the desk would show fails the case: each scan must pick.
class NoMessages {
  public:
    NoMessages() {
        kashidashi::Dialogs::SetResponder([](const kashidashi::Dialogs::Request& request) -> int {
            throw std::runtime_error("the desk said: " + request.text.toStdString());
        });
    }
    ~NoMessages() { kashidashi::Dialogs::SetResponder({}); }
};

// The operator's scan: the text into the field that has the focus, Enter.
void Scan(Desk& desk, DeskEdit field, const std::string& text) {
    desk.Focus(field);
    desk.state.Text(field) = text;
    desk.EnterPressed(field);
}

void EnterUser(Desk& desk, const char* user) {
    Scan(desk, DeskEdit::Edit3, user);
    if (desk.state.CurrentUserId != user) throw std::runtime_error("the user was not found");
}

void EmptyPickList(Desk& desk) {
    desk.WKT01.Close();
    desk.WKT01.EmptyTable();
    desk.WKT01.Open();
    desk.state.RunningLoanCount = 0;
}

// The books scanned: distinct, unreserved, in a random order; the engine
// scans the first half and the raw side the second, so that neither reads
// pages the other has just read.
std::vector<int> ScanBooks() {
    std::vector<int> books;
    for (int i = 0; i < 2 * kScans; ++i) books.push_back(1 + i * (kReservedFrom / (2 * kScans)));
    std::shuffle(books.begin(), books.end(), std::mt19937(7));
    return books;
}

// The raw scan: the book by its key, the checks, the reservations of the
// book or its title in time order, the pick list, and the pick-list append
// in the settings database (autocommit, fully synced as the engine's).
struct RawScan {
    RawDb data, settings;
    Stmt book{data.db(), "SELECT rowid, * FROM Book WHERE BOOK_ID = ?"};
    Stmt reservations{data.db(),
                      "SELECT yoyakuDTime, Book_ID, Name_ID FROM yoyaku WHERE Book_ID = ? OR "
                      "(ISBN_ID IS NOT NULL AND ISBN_ID = ?) ORDER BY yoyakuDTime"};
    Stmt picked{settings.db(), "SELECT 1 FROM WK01 WHERE BOOK_ID = ?"};
    Stmt append{settings.db(), "INSERT INTO WK01 (BOOK_ID, syomei) VALUES (?, ?)"};

    int kintai, haiki, lent, registered, isbnColumn, titleColumn;

    RawScan(const std::string& dataFolder, const std::string& settingsFolder)
        : data(dataFolder), settings(settingsFolder) {
        for (RawDb* db : {&data, &settings}) {
            db->Exec("PRAGMA journal_mode=DELETE");
            db->Exec("PRAGMA synchronous=FULL");
        }
        auto column = [&](const char* name) {
            for (int c = 0; c < sqlite3_column_count(*book); ++c)
                if (std::string(sqlite3_column_name(*book, c)) == name) return c;
            throw std::runtime_error("raw: no column");
        };
        kintai = column("kintaiF");
        haiki = column("haikiF");
        lent = column("kashidashiF");
        registered = column("tourokubi");
        isbnColumn = column("ISBN");
        titleColumn = column("syomei2");
    }

    void Run(int number, const std::string& user) {
        book.Int(1, number);
        if (!book.Step()) throw std::runtime_error("raw: no book");
        sqlite3_stmt* row = *book;
        for (int c = 0; c < sqlite3_column_count(row); ++c) sqlite3_column_value(row, c);
        bool refused = sqlite3_column_int(row, kintai) || sqlite3_column_int(row, haiki) ||
                       sqlite3_column_int(row, lent);
        int tourokubi = sqlite3_column_int(row, registered);
        std::string isbn(reinterpret_cast<const char*>(sqlite3_column_text(row, isbnColumn)));
        std::string title(reinterpret_cast<const char*>(sqlite3_column_text(row, titleColumn)));
        book.Reset();
        if (refused || tourokubi + 7 > engine::Today().days)
            throw std::runtime_error("raw: refused");
        picked.Int(1, number);
        if (picked.Step()) throw std::runtime_error("raw: picked");
        picked.Reset();
        reservations.Int(1, number).Text(2, isbn.substr(0, 12));
        if (reservations.Step() && std::string(reinterpret_cast<const char*>(
                                       sqlite3_column_text(*reservations, 2))) != user)
            throw std::runtime_error("raw: reserved");
        reservations.Reset();
        append.Int(1, number).Text(2, title.substr(0, 30)).Run();
    }
};

// The two sides take turns scan by scan, so that both meet the disk in the
// same mood; the pick list is emptied (not measured) before each scan.
void BookScan(const std::string& data, const std::string& settings, const std::string& name,
              const std::vector<int>& books, const char* user) {
    std::vector<double> engineTimes, rawTimes;
    NoMessages quiet;
    Desk desk;
    desk.Replay = true;
    desk.Open();
    EnterUser(desk, user);
    RawScan raw(data, settings);
    for (int i = 0; i < kScans; ++i) {
        EmptyPickList(desk);
        std::string text = std::to_string(books[i]);
        engineTimes.push_back(Seconds([&] { Scan(desk, DeskEdit::Edit4, text); }));
        if (desk.state.RunningLoanCount != 1 || desk.WKT01.RecordCount() != 1)
            throw std::runtime_error("the scan picked nothing");
        EmptyPickList(desk);
        int rawBook = books[kScans + i];
        rawTimes.push_back(Seconds([&] { raw.Run(rawBook, user); }));
    }
    EmptyPickList(desk);
    desk.Close();
    Report(name, Median(engineTimes), Median(rawTimes), 6);
}

// The raw lending of the five books: each book re-read and its loan row
// written, the user's reservations deleted, the book marked lent (and
// reserved when others still wait), the user's count raised, one commit.
struct RawLend {
    RawDb data;
    Stmt user{data.db(), "SELECT seito_No, mihenkyakuSU FROM Name WHERE NAME_ID = ?"};
    Stmt book{data.db(), "SELECT kashidashiF, ISBN FROM Book WHERE BOOK_ID = ?"};
    Stmt loan{data.db(),
              "INSERT INTO kashibo (BOOK_ID, NAME_ID, seitoNo, henkyakuyotei, kashidashibi, "
              "kashidashiF, ISBN_ID) VALUES (?, ?, ?, ?, ?, '1', ?)"};
    Stmt fulfil{data.db(),
                "DELETE FROM yoyaku WHERE (Book_ID = ? OR (ISBN_ID IS NOT NULL AND ISBN_ID = ?)) "
                "AND Name_ID = ?"};
    Stmt waiting{data.db(), "SELECT 1 FROM yoyaku WHERE Book_ID = ? LIMIT 1"};
    Stmt mark{data.db(), "UPDATE Book SET kashidashiF = 1, yoyakuF = ? WHERE BOOK_ID = ?"};
    Stmt count{data.db(), "UPDATE Name SET mihenkyakuSU = ? WHERE NAME_ID = ?"};

    explicit RawLend(const std::string& folder) : data(folder) {
        data.Exec("PRAGMA journal_mode=DELETE");
        data.Exec("PRAGMA synchronous=FULL");
    }

    void Run(const std::vector<int>& books, const std::string& userId) {
        int today = engine::Today().days;
        data.Exec("BEGIN IMMEDIATE");
        user.Text(1, userId);
        if (!user.Step()) throw std::runtime_error("raw: no user");
        std::string pupil(reinterpret_cast<const char*>(sqlite3_column_text(*user, 0)));
        int lent = sqlite3_column_int(*user, 1);
        user.Reset();
        for (int number : books) {
            book.Int(1, number);
            if (!book.Step() || sqlite3_column_int(*book, 0)) throw std::runtime_error("raw: lent");
            std::string isbn(reinterpret_cast<const char*>(sqlite3_column_text(*book, 1)));
            book.Reset();
            if (isbn.size() == 13) isbn.resize(12);
            loan.Int(1, number).Text(2, userId).Text(3, pupil).Int(4, today + 14).Int(5, today);
            loan.Text(6, isbn).Run();
            fulfil.Int(1, number).Text(2, isbn).Text(3, userId).Run();
            waiting.Int(1, number);
            bool reserved = waiting.Step();
            waiting.Reset();
            mark.Int(1, reserved).Int(2, number).Run();
            ++lent;
        }
        count.Int(1, lent).Text(2, userId).Run();
        data.Exec("COMMIT");
    }
};

std::vector<int> LendBooks() {
    std::vector<int> books;
    for (int i = 0; i < kLendBooks; ++i) books.push_back(kLendFirstBook + i * 97);
    return books;
}

// Returns the five books (raw, not measured): their loans gone, the books and
// the user as before, and the user's own reservation of each book back, so
// that every lending fulfils five reservations.
void ResetLending(RawDb& raw, const std::vector<int>& books) {
    int today = engine::Today().days;
    raw.Exec("BEGIN IMMEDIATE");
    raw.Exec("DELETE FROM kashibo WHERE rowid > " + std::to_string(kLoans));
    raw.Exec("UPDATE Name SET mihenkyakuSU = 0 WHERE NAME_ID = '" + std::string(kLendUser) + "'");
    for (int book : books) {
        raw.Exec("UPDATE Book SET kashidashiF = 0, yoyakuF = 1 WHERE BOOK_ID = " +
                 std::to_string(book));
        raw.Exec(
            "INSERT OR REPLACE INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, "
            "yoyakubi, ISBN_ID, yoyakuDTime) VALUES (" +
            std::to_string(book) + ", 1, '" + kLendUser + "', '00008', '利用者 8', " +
            std::to_string(today) + ", '" + Isbn12(book) + "', " +
            std::to_string(int64_t{today} * engine::kMsecsPerDay) + ")");
    }
    raw.Exec("COMMIT");
}

void CheckLent(RawDb& raw, const std::vector<int>& books) {
    Stmt check{raw.db(),
               "SELECT (SELECT count(*) FROM kashibo WHERE rowid > ?1 AND kashidashiF = '1'), "
               "(SELECT count(*) FROM Book WHERE BOOK_ID BETWEEN ?2 AND ?3 AND kashidashiF = 1), "
               "(SELECT count(*) FROM yoyaku WHERE Name_ID = ?4), "
               "(SELECT mihenkyakuSU FROM Name WHERE NAME_ID = ?4)"};
    check.Int(1, kLoans).Int(2, books.front()).Int(3, books.back()).Text(4, kLendUser);
    check.Step();
    sqlite3_stmt* row = *check;
    if (sqlite3_column_int(row, 0) != kLendBooks || sqlite3_column_int(row, 1) != kLendBooks ||
        sqlite3_column_int(row, 2) != 0 || sqlite3_column_int(row, 3) != kLendBooks)
        throw std::runtime_error("the lending did not write what it should");
    check.Reset();
}

// Three turns per round: the desk's lending, the raw lending, and the raw
// lending followed by the pick list emptied in the settings database, as the
// desk empties it when the focus returns to the user field after lending
// (its own fully synced commit). desk_lend_5 compares with the raw lending;
// desk_lend_5_with_pick_list with the raw lending plus that emptying.
void LendFive(const std::string& data, const std::string& settings) {
    auto books = LendBooks();
    RawDb reset(data);
    std::vector<double> engineTimes, rawTimes, rawWithPickListTimes;
    NoMessages quiet;
    Desk desk;
    desk.Replay = true;
    desk.Open();
    RawLend raw(data);
    RawDb pickList(settings);
    pickList.Exec("PRAGMA journal_mode=DELETE");
    pickList.Exec("PRAGMA synchronous=FULL");
    for (int round = 0; round < kLendings; ++round) {
        ResetLending(reset, books);
        EnterUser(desk, kLendUser);
        for (int book : books) Scan(desk, DeskEdit::Edit4, std::to_string(book));
        if (desk.WKT01.RecordCount() != kLendBooks) throw std::runtime_error("picked too few");
        engineTimes.push_back(Seconds([&] { desk.Lend(); }));
        if (desk.state.LastLentCount != kLendBooks || desk.WKT01.RecordCount() != 0)
            throw std::runtime_error("the lending failed");
        CheckLent(reset, books);

        ResetLending(reset, books);
        rawTimes.push_back(Seconds([&] { raw.Run(books, kLendUser); }));
        CheckLent(reset, books);

        ResetLending(reset, books);
        for (int book : books)
            pickList.Exec("INSERT INTO WK01 (BOOK_ID, syomei) VALUES (" + std::to_string(book) +
                          ", '本の題名 " + std::to_string(book) + "')");
        rawWithPickListTimes.push_back(Seconds([&] {
            raw.Run(books, kLendUser);
            pickList.Exec("DELETE FROM WK01");
        }));
        CheckLent(reset, books);
    }
    ResetLending(reset, books);
    desk.Close();
    double engine = Median(engineTimes);
    Report("desk_lend_5", engine, Median(rawTimes), 6);
    Report("desk_lend_5_with_pick_list", engine, Median(rawWithPickListTimes), 6);
}

// Books the scanning user may take at once: on the shelf, unreserved (nor
// their title), lendable, registered long ago; a fixed sample of them.
std::vector<int> LendableBooks(const std::string& folder) {
    RawDb raw(folder);
    Stmt query{raw.db(),
               "SELECT BOOK_ID FROM Book WHERE kashidashiF = 0 AND yoyakuF = 0 AND kintaiF = 0 "
               "AND haikiF = 0 AND tourokubi < ? AND substr(ISBN, 1, 12) NOT IN "
               "(SELECT ISBN_ID FROM yoyaku WHERE ISBN_ID IS NOT NULL)"};
    query.Int(1, engine::Today().days - 30);
    std::vector<int> all;
    while (query.Step()) all.push_back(sqlite3_column_int(*query, 0));
    query.Reset();
    std::shuffle(all.begin(), all.end(), std::mt19937(11));
    all.resize(std::min<size_t>(all.size(), 2 * kScans));
    return all;
}

// A pupil with nothing out (so nothing overdue) to scan for.
std::string IdleUser(const std::string& folder) {
    RawDb raw(folder);
    Stmt query{raw.db(),
               "SELECT NAME_ID FROM Name WHERE mihenkyakuSU = 0 AND NAME_ID LIKE '1%' "
               "ORDER BY NAME_ID LIMIT 1"};
    if (!query.Step()) throw std::runtime_error("no idle user");
    return reinterpret_cast<const char*>(sqlite3_column_text(*query, 0));
}

void RunLargeSchoolScan() {
    const std::string data = LargeSchoolFolder();
    const std::string settings = ScratchFolder("desk_program_1m");
    const auto books = LendableBooks(data);
    const std::string user = IdleUser(data);
    PrepareDataModule(data, settings, 100);
    BookScan(data, settings, "desk_book_scan_1m", books, user.c_str());
    TDM::Destroy();
}

}  // namespace

void RunDeskCases() {
    std::string data = ScratchFolder("desk_data");
    std::string settings = ScratchFolder("desk_program");
    MakeDataFolder(data);
    PrepareDataModule(data, settings, 100);
    BookScan(data, settings, "desk_book_scan", ScanBooks(), kScanUser);
    LendFive(data, settings);
    TDM::Destroy();
    RunLargeSchoolScan();
}

}  // namespace bench
