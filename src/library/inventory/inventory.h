// 蔵書点検, the stock check: every book on the shelves is scanned once a
// year and the books that were not found are listed (and may be written off).
//
// State: Book.tenkenF is set by a scan and cleared for every book when a
// check starts; the running check is the Reg row kInventoryRegId (A1 the
// start date yyyy/mm/dd, N1 1 while it runs and 0 once finished, A2 the
// finish date). To be checked: the books neither discarded (haikiF) nor on
// loan (kashidashiF). Not found: those of them whose tenkenF is not set.
//
// Every function works on a backend connection (data_place.h) whose lock
// rule is the desk's; the writes are single statements or transactions of
// their own, so several windows and readers may scan the same data at once:
// a book scanned twice (by anyone) counts once. Failures throw EngineError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

// The Reg row of the running check; the specified rows (2, 10) are others.
inline constexpr int64_t kInventoryRegId = 21;

struct InventoryState {
    bool running = false;
    std::optional<engine::Date> startedOn;  // of the running or last check
};
InventoryState ReadInventoryState(engine::storage::Connection& connection);

// The part of the library a check covers (kx_inventory_scope): a storage
// place (HKN_ID), a range of NDC codes (NDC_ID, both ends included), or
// the whole library when neither is given.
struct InventoryScope {
    std::optional<int64_t> place;
    std::optional<int> ndcFrom, ndcTo;
    bool Whole() const { return !place && !ndcFrom; }
    // Whether a book of `place` (HKN_ID, null when unset) and `ndc` is in it.
    bool Covers(const engine::Value& place, const engine::Value& ndc) const;
};
InventoryScope ReadInventoryScope(engine::storage::Connection& connection);
// "全体", "保管場所 図書室", "NDC 400〜499".
std::string ScopeText(engine::storage::Connection& connection, const InventoryScope& scope);

// Clears tenkenF of every book in `scope` and records `today` as the start
// and the scope, in one transaction. The caller asks the operator first
// when a check runs.
void StartInventory(engine::storage::Connection& connection, engine::Date today,
                    const InventoryScope& scope = {});

enum class ScanAnswer {
    Checked,         // found, counted now
    AlreadyChecked,  // found before (this scan counts nothing)
    OnLoan,          // recorded as on loan, yet on the shelf: offer the return
    Discarded,       // recorded as discarded (haikiF)
    Unknown,         // a number the catalogue does not know: to register
    SeveralCopies,   // an ISBN of several copies, none of them on the shelf: read the label
    NoNumber,        // the text names no book
};

struct ScannedBook {
    int64_t number = 0;
    std::string title;       // syomei2
    std::string callNumber;  // seikyu
    std::string place;       // the HKN name of HKN_ID
};

struct ScanResult {
    ScanAnswer answer = ScanAnswer::NoNumber;
    ScannedBook book;             // the number alone when Unknown
    std::string isbn;             // the twelve digits searched, when the scan was an ISBN
    std::vector<int64_t> copies;  // an ISBN of several copies: the copies, in order
    bool wasLost = false;         // the book was marked 不明 and is found now
};

// Sets tenkenF of book `number` when the catalogue knows it (discarded and
// lent books too) and answers what the scan found.
ScanResult ScanBookNumber(engine::storage::Connection& connection, int64_t number);

// The same for a book already read (by a reader's file, a batch at a time):
// `flags` as read; a book read as checked is not written again.
struct BookFlags {
    bool lent = false, discarded = false, checked = false;
    bool lost = false;  // marked 不明 by an earlier check: the mark goes
};
ScanResult CheckKnownBook(engine::storage::Connection& connection, const ScannedBook& book,
                          const BookFlags& flags);

// A scanned or typed text by the desk's book-number rule (the lending
// entry, Reg row 2's ISBN mode). An ISBN of one copy scans that copy. Of
// several, the copy on the shelf is meant: the first neither lent, nor
// discarded, nor checked yet; when all the shelf copies are checked, the
// first of them (AlreadyChecked); with no shelf copy at all, SeveralCopies
// and nothing checked (the label's number says which copy it is).
// `isbnMode` saves the read of Reg row 2 when the caller has it.
ScanResult ScanText(engine::storage::Connection& connection, std::string_view text,
                    std::optional<int> isbnMode = std::nullopt);
// Reg row 2's N2, as the desk reads it at start-up: 0 when the row is missing.
int ReadIsbnMode(engine::storage::Connection& connection);

// The desk's return (返却) of a book found on the shelf while recorded as
// lent: its open loans closed with `today`, the borrowers' counts lowered,
// the book freed; one transaction. False when no open loan was found (the
// book is freed all the same).
bool ReturnFoundBook(engine::storage::Connection& connection, int64_t number, engine::Date today);
// Whether reservations wait for the book or its title (yoyaku by Book_ID or
// by the first twelve characters of its ISBN), as the desk tells after a
// return.
bool ReservationsWaiting(engine::storage::Connection& connection, int64_t number);

// One line of the progress: a storage place or an NDC class.
struct ProgressLine {
    // The HKN name; "9 文学" for a code of the NDC table, "9類" (the
    // hundreds) for a code it lacks; "未設定" for none.
    std::string group;
    int checked = 0;
    int toCheck = 0;
};
struct InventoryProgress {
    int checked = 0, toCheck = 0;
    std::vector<ProgressLine> byPlace;  // in HKN_ID order, unset last
    std::vector<ProgressLine> byClass;  // hundreds first, then the table's codes, unset last
};
InventoryProgress ReadInventoryProgress(engine::storage::Connection& connection);

// The books not found, by storage place (code), call number, book number.
std::vector<ScannedBook> BooksNotFound(engine::storage::Connection& connection);

// Finishing the check, in one transaction: the chosen books are written off
// (haikiF, haiki_date `today`) and each write-off is recorded
// (kx_writeoff); the other books not found are marked 不明 (kx_lost) with
// the check's start date, or their count of misses goes up; the check is
// recorded as finished. A chosen book that a reader found meanwhile
// (tenkenF set) is left alone. Returns the number of books written off;
// `markedLost`, when given, receives the number marked 不明.
int FinishInventory(engine::storage::Connection& connection, const std::vector<int64_t>& discarded,
                    engine::Date today, int* markedLost = nullptr);

// A book marked 不明: when the first check missed it (kept until it is
// found), the last one, and how many checks missed it.
struct LostBook {
    ScannedBook book;
    engine::Date lostOn, lastOn;
    int misses = 0;
};
// By storage place (code), call number and book number; discarded books
// are left out.
std::vector<LostBook> LostBooks(engine::storage::Connection& connection);

// A write-off of 完了 undone for a book that turned up: haikiF and
// haiki_date cleared, the record kept with `today` as RESTORED_ON, the
// book counted as found when a check runs.
enum class RestoreAnswer { Restored, NotWrittenOff, UnknownBook };
RestoreAnswer RestoreWrittenOff(engine::storage::Connection& connection, int64_t number,
                                engine::Date today);
// The write-offs of 完了 not undone, newest first.
struct WriteOff {
    ScannedBook book;
    std::string started;  // the check, yyyy/mm/dd
    engine::Date writtenOn;
};
std::vector<WriteOff> WriteOffs(engine::storage::Connection& connection);
// What a restore did, in plain words.
std::string RestoreText(RestoreAnswer answer, int64_t number);

// The texts of the answer, loud where it matters ("貸出中の図書です" ...).
std::string AnswerText(const ScanResult& result);
// Whether the operator must look at it (anything but Checked/AlreadyChecked).
bool IsLoud(ScanAnswer answer);

}  // namespace kashidashi::library
