// One scan of the stock check and the return of a book found on the shelf
// (inventory.h).
#include <algorithm>
#include <variant>

#include "desk/entry_rules.h"
#include "engine/common/names.h"
#include "engine/session/transaction_guard.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_records.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

constexpr const char* kBookStatement =
    "Select Book.syomei2, Book.seikyu, HKN.HKN, Book.kashidashiF, Book.haikiF, Book.tenkenF"
    " From Book"
    " Left Join HKN On Book.HKN_ID=HKN.HKN_ID Where Book.BOOK_ID=:PM1";
// The same with the book's 不明 mark, once a check has left marks.
constexpr const char* kBookMarkStatement =
    "Select Book.syomei2, Book.seikyu, HKN.HKN, Book.kashidashiF, Book.haikiF, Book.tenkenF,"
    " kx_lost.MISSES From Book"
    " Left Join HKN On Book.HKN_ID=HKN.HKN_ID"
    " Left Join kx_lost On Book.BOOK_ID=kx_lost.BOOK_ID Where Book.BOOK_ID=:PM1";

// A scan's statements are parsed once for the program: a reader's file runs
// them ten thousand times.
struct Parsed {
    explicit Parsed(const char* statement)
        : text(statement), tree(engine::sql::ParseStatement(text)) {}
    std::string text;
    engine::sql::Statement tree;
};

engine::translate::ParamValues ValuesOf(const SqlParams& params) {
    return [&params](const std::string& name) -> std::optional<Value> {
        auto it = params.find(engine::LowerName(name));
        if (it == params.end()) return std::nullopt;
        return it->second;
    };
}

engine::storage::ResultSet Select(Connection& connection, const Parsed& parsed,
                                  const SqlParams& params) {
    return engine::translate::RunQuery(*parsed.tree.As<engine::sql::SelectStmt>(), connection,
                                       ValuesOf(params), parsed.text);
}

int64_t Execute(Connection& connection, const Parsed& parsed, const SqlParams& params) {
    return engine::translate::ExecuteStatement(parsed.tree, connection, ValuesOf(params),
                                               parsed.text);
}

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

}  // namespace

int ReadIsbnMode(Connection& connection) {
    auto rows = SelectRows(connection, "Select N2 From Reg Where ID=2");
    return rows.rows.empty() ? 0 : static_cast<int>(IntegerOf(rows.rows[0].values[0]));
}

namespace {

// The copy of several that a scan of their ISBN means (inventory.h): the
// first on the shelf not checked yet, else the first on the shelf.
std::optional<int64_t> ShelfCopy(const engine::storage::ResultSet& rows) {
    std::optional<int64_t> checkedOnShelf;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        if (IsSet(v[2]) || IsSet(v[3])) continue;  // lent or discarded
        if (!IsSet(v[1])) return IntegerOf(v[0]);
        if (!checkedOnShelf) checkedOnShelf = IntegerOf(v[0]);
    }
    return checkedOnShelf;
}

ScanResult ScanIsbn(Connection& connection, const std::string& isbn12) {
    auto rows = SelectRows(connection,
                           "Select BOOK_ID, tenkenF, kashidashiF, haikiF From Book Where"
                           " ISBN=:PM1 Order By BOOK_ID",
                           {{"pm1", Value(isbn12)}});
    ScanResult result;
    result.isbn = isbn12;
    if (rows.rows.empty()) {
        result.answer = ScanAnswer::Unknown;
        return result;
    }
    if (rows.rows.size() == 1) {
        result = ScanBookNumber(connection, IntegerOf(rows.rows[0].values[0]));
        result.isbn = isbn12;
        return result;
    }
    std::vector<int64_t> copies;
    for (const auto& row : rows.rows) copies.push_back(IntegerOf(row.values[0]));
    if (auto copy = ShelfCopy(rows))
        result = ScanBookNumber(connection, *copy);
    else
        result.answer = ScanAnswer::SeveralCopies;
    result.isbn = isbn12;
    result.copies = std::move(copies);
    return result;
}

// The borrower's count of books out goes down by one and never below 0.
void LowerCount(Connection& connection, const Value& nameId) {
    auto rows = SelectRows(connection, "Select mihenkyakuSU From Name Where NAME_ID=:PM1",
                           {{"pm1", nameId}});
    if (rows.rows.empty()) return;
    const int64_t count = std::max<int64_t>(IntegerOf(rows.rows[0].values[0]) - 1, 0);
    ExecuteRows(connection, "Update Name Set mihenkyakuSU=:PM1 Where NAME_ID=:PM2",
                {{"pm1", Value(count)}, {"pm2", nameId}});
}

}  // namespace

ScanResult ScanBookNumber(Connection& connection, int64_t number) {
    static const Parsed kBook(kBookStatement);
    static const Parsed kBookMark(kBookMarkStatement);
    const bool marks = HasInventoryTable(connection, kLostTable);
    auto rows = Select(connection, marks ? kBookMark : kBook, {{"pm1", Value(number)}});
    if (rows.rows.empty()) {
        ScanResult result;
        result.answer = ScanAnswer::Unknown;
        result.book.number = number;
        return result;
    }
    const auto& v = rows.rows[0].values;
    return CheckKnownBook(connection, {number, TextOf(v[0]), TextOf(v[1]), TextOf(v[2])},
                          {IsSet(v[3]), IsSet(v[4]), IsSet(v[5]), marks && !v[6].IsNull()});
}

ScanResult CheckKnownBook(Connection& connection, const ScannedBook& book, const BookFlags& flags) {
    static const Parsed kCheck(
        "Update Book Set tenkenF=:PM1 Where BOOK_ID=:PM2 and (tenkenF Is Null or tenkenF=:PM3)");
    // Only the scan that sets the flag counts: the statement holds the row,
    // so of two readers scanning one book at once exactly one changes it.
    const bool first =
        !flags.checked &&
        Execute(connection, kCheck,
                {{"pm1", Value(true)}, {"pm2", Value(book.number)}, {"pm3", Value(false)}}) == 1;
    ScanResult result;
    result.book = book;
    if (flags.lost) {
        // Found on the shelf: it is not 不明 any more.
        static const Parsed kUnmark("Delete From kx_lost Where BOOK_ID=:PM1");
        result.wasLost = Execute(connection, kUnmark, {{"pm1", Value(book.number)}}) > 0;
    }
    if (flags.discarded)
        result.answer = ScanAnswer::Discarded;
    else if (flags.lent)
        result.answer = ScanAnswer::OnLoan;
    else
        result.answer = first ? ScanAnswer::Checked : ScanAnswer::AlreadyChecked;
    return result;
}

ScanResult ScanText(Connection& connection, std::string_view text, std::optional<int> isbnMode) {
    auto entry = desk::BookEntryOf(desk::BookField::Edit4, text,
                                   isbnMode ? *isbnMode : ReadIsbnMode(connection));
    if (auto* isbn = std::get_if<desk::IsbnKey>(&entry)) return ScanIsbn(connection, isbn->isbn12);
    if (auto* number = std::get_if<desk::BookNumber>(&entry))
        return ScanBookNumber(connection, number->number);
    return {};
}

bool ReturnFoundBook(Connection& connection, int64_t number, engine::Date today) {
    engine::TransactionGuard transaction(connection);
    auto loans = SelectRows(connection,
                            "Select NAME_ID From kashibo Where BOOK_ID=:PM1 and"
                            " kashidashiF='1'",
                            {{"pm1", Value(number)}});
    for (const auto& loan : loans.rows) LowerCount(connection, loan.values[0]);
    ExecuteRows(connection,
                "Update kashibo Set kashidashiF=:PM1, henkyakubi=:PM2 Where BOOK_ID=:PM3 and"
                " kashidashiF='1'",
                {{"pm1", Value()}, {"pm2", Value(today)}, {"pm3", Value(number)}});
    ExecuteRows(connection, "Update Book Set kashidashiF=:PM1 Where BOOK_ID=:PM2",
                {{"pm1", Value()}, {"pm2", Value(number)}});
    transaction.Commit();
    return !loans.rows.empty();
}

bool ReservationsWaiting(Connection& connection, int64_t number) {
    auto book = SelectRows(connection, "Select ISBN From Book Where BOOK_ID=:PM1",
                           {{"pm1", Value(number)}});
    const std::string isbn12 =
        book.rows.empty() ? "" : TextOf(book.rows[0].values[0]).substr(0, 12);
    auto waiting = SelectRows(connection, "Select Book_ID From yoyaku Where Book_ID=:PM1",
                              {{"pm1", Value(number)}});
    if (!waiting.rows.empty() || isbn12.empty()) return !waiting.rows.empty();
    return !SelectRows(connection, "Select Book_ID From yoyaku Where ISBN_ID=:PM1",
                       {{"pm1", Value(isbn12)}})
                .rows.empty();
}

}  // namespace kashidashi::library
