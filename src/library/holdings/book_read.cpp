// Reading the catalogue: one book, the next free number, a book's loans
// and discard, the stored form of an ISBN.
#include <QString>

#include "engine/common/names.h"
#include "library/holdings/books.h"
#include "library/holdings/columns.h"
#include "library/holdings/own_tables.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {

using engine::Value;
using engine::storage::Connection;

namespace {
// Shown beside the edited columns, never written by an edit.
constexpr const char* kStateColumns[] = {"kashidashiF", "yoyakuF", "haikiF", "haiki_date"};
}  // namespace

std::optional<BookFields> ReadBook(Connection& connection, int64_t number) {
    std::string columns;
    for (const auto& c : BookColumns())
        columns += (columns.empty() ? "" : ", ") + std::string(c.column);
    for (const char* c : kStateColumns) columns += std::string(", ") + c;
    auto rows = SelectRows(connection, "Select " + columns + " From Book Where BOOK_ID=:PM1",
                           {{"pm1", Value(number)}});
    if (rows.rows.empty()) return std::nullopt;
    BookFields fields;
    size_t i = 0;
    for (const auto& c : BookColumns()) fields[c.column] = DisplayText(rows.rows[0].values[i++]);
    for (const char* c : kStateColumns) fields[c] = DisplayText(rows.rows[0].values[i++]);
    return fields;
}

int64_t NextBookNumber(Connection& connection) {
    const auto layout = LayoutOf(connection, "Book");
    engine::storage::ScanRequest request;
    request.table = &layout;
    request.orderColumns = {*layout.FindColumn("BOOK_ID")};
    request.backwards = true;
    request.limit = 1;
    auto rows = connection.Scan(request);
    if (rows.empty()) return 1;
    return IntegerOf(rows.front().values[*layout.FindColumn("BOOK_ID")]) + 1;
}

std::vector<BookLoan> LoansOfBook(Connection& connection, int64_t number) {
    auto rows =
        SelectRows(connection,
                   "Select kashibo.NAME_ID, kashibo.seitoNo, Name.NAME, kashibo.kashidashibi,"
                   " kashibo.henkyakuyotei, kashibo.henkyakubi From kashibo Left Join Name On"
                   " Name.NAME_ID = kashibo.NAME_ID Where kashibo.BOOK_ID=:PM1",
                   {{"pm1", Value(number)}});
    std::vector<BookLoan> loans;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        loans.push_back({TextOf(v[0]), TextOf(v[1]), TextOf(v[2]),
                         DateOf(v[3]).value_or(engine::Date{}),
                         DateOf(v[4]).value_or(engine::Date{}), DateOf(v[5])});
    }
    std::stable_sort(loans.begin(), loans.end(),
                     [](const BookLoan& a, const BookLoan& b) { return a.lentOn > b.lentOn; });
    return loans;
}

std::optional<Discard> DiscardOf(Connection& connection, int64_t number) {
    if (!HasOwnTable(connection, kDiscardTable)) return std::nullopt;
    auto rows = SelectRows(connection,
                           std::string("Select DISCARDED_ON, REASON From ") + kDiscardTable +
                               " Where BOOK_ID=:PM1 And RESTORED_ON Is Null",
                           {{"pm1", Value(number)}});
    std::optional<Discard> latest;
    for (const auto& row : rows.rows) {
        Discard d{DateOf(row.values[0]).value_or(engine::Date{}), TextOf(row.values[1])};
        if (!latest || !(d.on < latest->on)) latest = d;
    }
    return latest;
}

std::optional<std::string> StoredIsbn(const std::string& typed) {
    std::string digits;
    for (QChar c : QString::fromStdString(typed)) {
        if (c == '-' || c == ' ' || c == QChar(0x3000) || c == QChar(0x2010) || c == QChar(0xFF0D))
            continue;
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar('0' + (c.unicode() - 0xFF10));
        if (c == 'x') c = 'X';
        if (c.unicode() > 127) return std::nullopt;
        digits += static_cast<char>(c.unicode());
    }
    auto allDigits = [](std::string_view text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if ((digits.size() == 13 || digits.size() == 12) && allDigits(digits))
        return digits.substr(0, 12);
    if (digits.size() == 10 && allDigits(std::string_view(digits).substr(0, 9)) &&
        (allDigits(digits.substr(9)) || digits[9] == 'X'))
        return "978" + digits.substr(0, 9);
    return std::nullopt;
}

}  // namespace kashidashi::library::holdings
