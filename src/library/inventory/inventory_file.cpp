// A portable reader's file taken by the stock check (inventory_file.h).
#include "library/inventory/inventory_file.h"

#include <QCryptographicHash>
#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <variant>

#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/session/transaction_guard.h"
#include "library/data_place.h"
#include "library/inventory/inventory_records.h"
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
                                      const std::vector<int64_t>& numbers, bool marks) {
    std::map<int64_t, ReadBook> books;
    if (numbers.empty()) return books;
    std::string list;
    // The dialect has no IN: a chain of ORs on the key, which SQLite and
    // PostgreSQL both take as lookups of the primary index.
    for (int64_t number : numbers)
        list += (list.empty() ? "Book.BOOK_ID=" : " or Book.BOOK_ID=") + std::to_string(number);
    // The 不明 marks come with the books once a check has left marks.
    auto rows = SelectRows(connection,
                           std::string("Select Book.BOOK_ID, Book.syomei2, Book.seikyu, HKN.HKN,"
                                       " Book.kashidashiF, Book.haikiF, Book.tenkenF") +
                               (marks ? ", kx_lost.MISSES" : "") +
                               " From Book Left Join HKN On Book.HKN_ID=HKN.HKN_ID" +
                               (marks ? " Left Join kx_lost On Book.BOOK_ID=kx_lost.BOOK_ID" : "") +
                               " Where " + list);
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        const int64_t number = IntegerOf(v[0]);
        books[number] = {{number, TextOf(v[1]), TextOf(v[2]), TextOf(v[3])},
                         {IsSet(v[4]), IsSet(v[5]), IsSet(v[6]), marks && !v[7].IsNull()}};
    }
    return books;
}

// One line: a number read with its batch, anything else as the window scans it.
ScanResult ScanLine(engine::storage::Connection& connection, const exchange::ScanLine& line,
                    int isbnMode, std::map<int64_t, ReadBook>& books) {
    auto entry = desk::BookEntryOf(desk::BookField::Edit4, line.scan, isbnMode);
    const auto* number = std::get_if<desk::BookNumber>(&entry);
    if (!number) return ScanText(connection, line.scan, isbnMode);
    auto it = books.find(number->number);
    if (it == books.end()) {
        ScanResult result;
        result.answer = ScanAnswer::Unknown;
        result.book.number = number->number;
        return result;
    }
    auto result = CheckKnownBook(connection, it->second.book, it->second.flags);
    it->second.flags.checked = true;  // a second scan in the batch writes nothing
    it->second.flags.lost = false;
    return result;
}

// The record of the file being taken, written in each batch's transaction.
struct FileRecord {
    std::string digest, started;
    size_t total = 0;
};

void RecordDone(engine::storage::Connection& connection, const FileRecord& record, size_t done) {
    SqlParams params{{"pm1", Value(record.digest)},
                     {"pm2", Value(record.started)},
                     {"pm3", Value(static_cast<int64_t>(done))},
                     {"pm4", Value(static_cast<int64_t>(record.total))}};
    if (ExecuteRows(connection,
                    std::string("Update ") + kFilesTable +
                        " Set DONE=:PM3, TOTAL=:PM4 Where DIGEST=:PM1 and STARTED=:PM2",
                    params) == 0)
        ExecuteRows(connection,
                    std::string("Insert Into ") + kFilesTable +
                        " (DIGEST, STARTED, DONE, TOTAL) Values (:PM1, :PM2, :PM3, :PM4)",
                    params);
}

std::vector<FileScan> ScanBatch(engine::storage::Connection& connection,
                                const std::vector<exchange::ScanLine>& lines, size_t start,
                                size_t end, int isbnMode, const FileRecord* record) {
    std::vector<int64_t> numbers;
    for (size_t i = start; i < end; ++i) {
        auto entry = desk::BookEntryOf(desk::BookField::Edit4, lines[i].scan, isbnMode);
        if (auto* number = std::get_if<desk::BookNumber>(&entry)) numbers.push_back(number->number);
    }
    engine::TransactionGuard transaction(connection);
    auto books = ReadBatch(connection, numbers, HasInventoryTable(connection, kLostTable));
    std::vector<FileScan> batch;
    for (size_t i = start; i < end; ++i)
        batch.push_back({lines[i], ScanLine(connection, lines[i], isbnMode, books)});
    if (record) RecordDone(connection, *record, end);
    transaction.Commit();
    return batch;
}

// A batch tried again, whole, while another reader's lock keeps it out.
std::vector<FileScan> ScanBatchWaiting(engine::storage::Connection& connection,
                                       const std::vector<exchange::ScanLine>& lines, size_t start,
                                       size_t end, int isbnMode, const FileRecord* record) {
    for (int tries = 0;; ++tries) {
        try {
            return ScanBatch(connection, lines, start, end, isbnMode, record);
        } catch (const engine::EngineError& error) {
            const bool locked = error.code() == engine::err::kTableLocked ||
                                error.code() == engine::err::kRecordLocked;
            if (!locked || tries >= kDeskLockRule.retryCount) throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kDeskLockRule.waitMs));
    }
}

std::vector<FileScan> ScanLinesFrom(engine::storage::Connection& connection,
                                    const std::vector<exchange::ScanLine>& lines, size_t first,
                                    const FileRecord* record,
                                    const std::function<void(size_t, size_t)>& progress) {
    std::vector<FileScan> scans;
    scans.reserve(lines.size() - first);
    const int isbnMode = ReadIsbnMode(connection);
    for (size_t start = first; start < lines.size(); start += kScansPerTransaction) {
        const size_t end = std::min(lines.size(), start + kScansPerTransaction);
        // Kept only once committed: a batch rolled back checked nothing.
        auto batch = ScanBatchWaiting(connection, lines, start, end, isbnMode, record);
        scans.insert(scans.end(), batch.begin(), batch.end());
        if (progress) progress(end, lines.size());
    }
    return scans;
}

std::string DigestOf(const std::string& text) {
    return QCryptographicHash::hash(
               QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

// Lines of the file an earlier run of this check took: all of them, a part, none.
size_t LinesTaken(engine::storage::Connection& connection, const FileRecord& record) {
    if (!HasInventoryTable(connection, kFilesTable)) return 0;
    auto rows = SelectRows(
        connection,
        std::string("Select DONE From ") + kFilesTable + " Where DIGEST=:PM1 and STARTED=:PM2",
        {{"pm1", Value(record.digest)}, {"pm2", Value(record.started)}});
    return rows.rows.empty() ? 0 : static_cast<size_t>(IntegerOf(rows.rows[0].values[0]));
}

}  // namespace

FileRun ScanReaderFile(engine::storage::Connection& connection, const std::string& text, bool again,
                       const std::function<void(size_t, size_t)>& progress) {
    const auto lines = exchange::ParseScanFile(text);
    const auto state = ReadInventoryState(connection);
    if (!state.running) throw std::runtime_error("蔵書点検が始まっていません。");
    FileRecord record{DigestOf(text), engine::FormatDate(*state.startedOn), lines.size()};
    FileRun run;
    run.skipped = again ? 0 : std::min(LinesTaken(connection, record), lines.size());
    if (!lines.empty() && run.skipped == lines.size())
        throw FileTakenBefore("このファイルは " + record.started +
                              " に始めた点検で読み込み済みです（同じ内容のファイル）。"
                              "何も点検していません。");
    EnsureInventoryTable(connection, kFilesTable);
    run.scans = ScanLinesFrom(connection, lines, run.skipped, &record, progress);
    return run;
}

std::vector<FileScan> ScanReaderLines(engine::storage::Connection& connection,
                                      const std::vector<exchange::ScanLine>& lines,
                                      const std::function<void(size_t, size_t)>& progress) {
    return ScanLinesFrom(connection, lines, 0, nullptr, progress);
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
            case ScanAnswer::SeveralCopies:
                ++summary.several;
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
           std::to_string(s.discarded) + " 冊、未登録 " + std::to_string(s.unknown) + " 件、" +
           (s.several ? "どの図書か決まらないISBN " + std::to_string(s.several) + " 件、" : "") +
           "読めない行 " + std::to_string(s.unreadable) + " 件";
}

}  // namespace kashidashi::library
