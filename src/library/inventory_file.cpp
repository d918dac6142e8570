// A portable reader's file taken by the stock check (inventory_file.h).
#include "library/inventory_file.h"

#include <algorithm>
#include <map>
#include <variant>

#include "desk/entry_rules.h"
#include "library/connection_transaction.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;

struct ReadBook {
    ScannedBook book;
    BookFlags flags;
};

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

// The books a batch names by number, read in one statement (the numbers
// are written into it as the digits they are) instead of one read a scan.
std::map<int64_t, ReadBook> ReadBatch(engine::storage::Connection& connection,
                                      const std::vector<int64_t>& numbers) {
    std::map<int64_t, ReadBook> books;
    if (numbers.empty()) return books;
    std::string list;
    // The dialect has no IN: a chain of ORs on the key, which SQLite and
    // PostgreSQL both take as lookups of the primary index.
    for (int64_t number : numbers)
        list += (list.empty() ? "Book.BOOK_ID=" : " or Book.BOOK_ID=") + std::to_string(number);
    auto rows = SelectRows(connection,
                           "Select Book.BOOK_ID, Book.syomei2, Book.seikyu, HKN.HKN,"
                           " Book.kashidashiF, Book.haikiF, Book.tenkenF From Book"
                           " Left Join HKN On Book.HKN_ID=HKN.HKN_ID Where " +
                               list);
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        const int64_t number = IntegerOf(v[0]);
        books[number] = {{number, TextOf(v[1]), TextOf(v[2]), TextOf(v[3])},
                         {IsSet(v[4]), IsSet(v[5]), IsSet(v[6])}};
    }
    return books;
}

// One line: a number read with its batch, anything else as the window scans it.
ScanResult ScanLine(engine::storage::Connection& connection, const desk::ScanLine& line,
                    int isbnMode, std::map<int64_t, ReadBook>& books) {
    auto entry = desk::BookEntryOf(desk::BookField::Edit4, line.scan, isbnMode);
    const auto* number = std::get_if<desk::BookNumber>(&entry);
    if (!number) return ScanText(connection, line.scan, true, isbnMode);
    auto it = books.find(number->number);
    if (it == books.end()) {
        ScanResult result;
        result.answer = ScanAnswer::Unknown;
        result.book.number = number->number;
        return result;
    }
    auto result = CheckKnownBook(connection, it->second.book, it->second.flags);
    it->second.flags.checked = true;  // a second scan in the batch writes nothing
    return result;
}

std::vector<FileScan> ScanBatch(engine::storage::Connection& connection,
                                const std::vector<desk::ScanLine>& lines, size_t start, size_t end,
                                int isbnMode) {
    std::vector<int64_t> numbers;
    for (size_t i = start; i < end; ++i) {
        auto entry = desk::BookEntryOf(desk::BookField::Edit4, lines[i].scan, isbnMode);
        if (auto* number = std::get_if<desk::BookNumber>(&entry)) numbers.push_back(number->number);
    }
    ConnectionTransaction transaction(connection);
    auto books = ReadBatch(connection, numbers);
    std::vector<FileScan> batch;
    for (size_t i = start; i < end; ++i)
        batch.push_back({lines[i], ScanLine(connection, lines[i], isbnMode, books)});
    transaction.Commit();
    return batch;
}

}  // namespace

std::vector<FileScan> ScanReaderLines(engine::storage::Connection& connection,
                                      const std::vector<desk::ScanLine>& lines,
                                      const std::function<void(size_t, size_t)>& progress) {
    std::vector<FileScan> scans;
    scans.reserve(lines.size());
    const int isbnMode = ReadIsbnMode(connection);
    for (size_t start = 0; start < lines.size(); start += kScansPerTransaction) {
        const size_t end = std::min(lines.size(), start + kScansPerTransaction);
        // Kept only once committed: a batch rolled back checked nothing.
        auto batch = ScanBatch(connection, lines, start, end, isbnMode);
        scans.insert(scans.end(), batch.begin(), batch.end());
        if (progress) progress(end, lines.size());
    }
    return scans;
}

FileSummary Summarise(const std::vector<FileScan>& scans) {
    FileSummary summary;
    for (const auto& scan : scans) {
        switch (scan.result.answer) {
            case ScanAnswer::Checked:
                ++summary.checked;
                break;
            case ScanAnswer::AlreadyChecked:
                ++summary.already;
                break;
            case ScanAnswer::OnLoan:
                ++summary.onLoan;
                break;
            case ScanAnswer::Discarded:
                ++summary.discarded;
                break;
            case ScanAnswer::Unknown:
                ++summary.unknown;
                break;
            default:
                ++summary.unreadable;
                break;
        }
    }
    return summary;
}

std::string SummaryText(const FileSummary& s) {
    return "点検 " + std::to_string(s.checked) + " 冊、点検済み " + std::to_string(s.already) +
           " 冊、貸出中の記録 " + std::to_string(s.onLoan) + " 冊、廃棄済み " +
           std::to_string(s.discarded) + " 冊、未登録 " + std::to_string(s.unknown) +
           " 件、読めない行 " + std::to_string(s.unreadable) + " 件";
}

}  // namespace kashidashi::library
