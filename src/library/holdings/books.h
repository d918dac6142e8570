// The catalogue: the books of Book as the librarian keeps them.
//
// A book is read and written as the texts the operator sees, by column
// (columns.h: BookColumns). An edit writes only the columns the operator
// changed, under the row's lock (row_lock.h), so that a loan a desk makes
// meanwhile keeps its flags. A code (storage place, NDC, fund, supplier)
// must be one of its list; 0 or empty means none. A discarded book (除籍)
// keeps its row and its loans; only a book that was never lent nor
// reserved may be deleted. Refusals are Refused (columns.h); the engine's
// failures EngineError.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

// Column -> text, for the columns of BookColumns (flags "True"/"False").
using BookFields = std::map<std::string, std::string>;

std::optional<BookFields> ReadBook(engine::storage::Connection& connection, int64_t number);
// One above the highest book number (1 for an empty catalogue).
int64_t NextBookNumber(engine::storage::Connection& connection);

// Problems of the fields' codes and texts (nothing when all is well).
std::vector<std::string> BookProblems(engine::storage::Connection& connection,
                                      const BookFields& fields);

// A new book: BOOK_ID from the fields (the next free one when empty),
// tourokubi today when empty, every flag but 禁帯 and 閉架 False. Returns
// its number. Refused for a number in use and for the problems above.
int64_t AddBook(engine::storage::Connection& connection, BookFields fields);
// "同じ本をもう1冊": a copy of the book's description under the next free
// number, registered today. Returns the new number.
int64_t AddCopy(engine::storage::Connection& connection, int64_t number);
// Writes the columns whose text in `edited` differs from `loaded` (what
// the operator was shown). Returns the columns written.
std::vector<std::string> SaveBook(engine::storage::Connection& connection, int64_t number,
                                  const BookFields& loaded, const BookFields& edited);

struct Discard {
    engine::Date on;
    std::string reason;
};
// 除籍: haikiF and haiki_date set, the reason kept in kx_discard. Refused
// for a book on loan or already discarded.
void DiscardBook(engine::storage::Connection& connection, int64_t number, engine::Date on,
                 const std::string& reason);
// The discard undone (the row in kx_discard keeps the day it was undone).
void RestoreBook(engine::storage::Connection& connection, int64_t number, engine::Date on);
// The book's discard as kept: the latest one not undone.
std::optional<Discard> DiscardOf(engine::storage::Connection& connection, int64_t number);
// Why the book cannot be deleted (a loan or a reservation names it), or
// nullopt when it can.
std::optional<std::string> BookDeleteRefusal(engine::storage::Connection& connection,
                                             int64_t number);
// Deletes a book that no loan and no reservation names; refused otherwise.
void DeleteBook(engine::storage::Connection& connection, int64_t number);

struct BookLoan {
    std::string nameId, pupilNo, name;
    engine::Date lentOn, due;
    std::optional<engine::Date> returnedOn;
};
// Who borrowed the book, newest first (staff only).
std::vector<BookLoan> LoansOfBook(engine::storage::Connection& connection, int64_t number);

// The twelve digits Book keeps of an ISBN typed with 10 or 13 digits (with
// or without hyphens or blanks; an ISBN-10 becomes its 978 form), or
// nothing when it is none.
std::optional<std::string> StoredIsbn(const std::string& typed);

}  // namespace kashidashi::library::holdings
