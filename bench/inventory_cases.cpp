// The stock check case: a portable reader's file of 10,000 scans (book
// numbers of 20,000 books, some twice, a few the catalogue lacks) taken by
// the librarian's layer as the window and the command take it, against raw
// SQLite doing the same per scan (the book and its storage place read, the
// check flag set unless set), in transactions of the same size. The flags
// are cleared before every turn (not measured); turns taken in step, and
// the checked books of both sides are checked to agree.
//
//   inventory_scan_10k   engine seconds, raw seconds, ratio
//
// The window case: one scan typed into the 蔵書点検 window (offscreen) of a
// running check over the same 20,000 books, answered and shown (the answer,
// the counts, the list of books not found), against raw SQLite reading the
// book and setting its flag. The median of 200 scans, each of a book not
// checked yet; the window must answer well within a reader's pace (50 ms).
//
//   inventory_window_scan   window seconds a scan, raw seconds, ratio
#include <stdexcept>
#include <string>

#include <QCoreApplication>
#include <QLineEdit>

#include "bench_fixture.h"
#include "data/U_DM.h"
#include "data/schema.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "exchange/scan_file.h"
#include "library/data_place.h"
#include "library/inventory/U_Tenken.h"
#include "library/inventory/inventory_file.h"
#include "widgets/dialogs.h"

namespace bench {
namespace {

constexpr int kBooks = 20'000;
constexpr int kScans = 10'000;
constexpr int kTurns = 5;

void MakeTables(const std::string& folder) {
    engine::TDBSession session("INVENTORYBENCHSETUP");
    engine::TDBDatabase database("SETUP", session);
    database.SetDirectory(folder);
    engine::TDBQuery script;
    script.SetSessionName("INVENTORYBENCHSETUP");
    script.SetDatabaseName("SETUP");
    script.SQL().SetText(kashidashi::DataTablesScript());
    script.ExecSQL();
}

void FillBooks(const std::string& folder) {
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec("INSERT INTO HKN (HKN_ID, HKN) VALUES (1, '図書室'), (2, '書庫')");
    raw.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
             std::to_string(kBooks) +
             ") INSERT INTO Book (BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID) SELECT i,"
             " '本の題名 ' || i, (i % 10) || '/ア', 1 + i % 2, (i * 37) % 1000 FROM n");
    raw.Exec("COMMIT");
}

// A reader's file: a time stamp and a seven-digit label a line.
std::string ReaderFile() {
    std::string text;
    for (int i = 0; i < kScans; ++i) {
        const int book = i % 50 == 49 ? kBooks + 1 + i : 1 + (i * 7) % (kScans - 500);
        char line[64];
        std::snprintf(line, sizeof line, "2026/03/02 10:%02d:%02d\t%07d\n", (i / 60) % 60, i % 60,
                      book);
        text += line;
    }
    return text;
}

// Raw SQLite: the lines split by hand, then per scan the read and the write.
int RawScan(RawDb& raw, const std::string& text) {
    sqlite3_stmt *read = nullptr, *write = nullptr;
    sqlite3_prepare_v2(raw.db(),
                       "SELECT Book.syomei2, Book.seikyu, HKN.HKN, Book.kashidashiF, Book.haikiF"
                       " FROM Book LEFT JOIN HKN ON Book.HKN_ID = HKN.HKN_ID WHERE BOOK_ID = ?1",
                       -1, &read, nullptr);
    sqlite3_prepare_v2(raw.db(),
                       "UPDATE Book SET tenkenF = 1 WHERE BOOK_ID = ?1 AND"
                       " (tenkenF IS NULL OR tenkenF = 0)",
                       -1, &write, nullptr);
    int checked = 0, inBatch = 0;
    raw.Exec("BEGIN");
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const int64_t number = std::stoll(line.substr(line.find('\t') + 1));
        sqlite3_bind_int64(read, 1, number);
        const bool known = sqlite3_step(read) == SQLITE_ROW;
        sqlite3_reset(read);
        if (known) {
            sqlite3_bind_int64(write, 1, number);
            sqlite3_step(write);
            checked += sqlite3_changes(raw.db());
            sqlite3_reset(write);
        }
        if (++inBatch == static_cast<int>(kashidashi::library::kScansPerTransaction)) {
            raw.Exec("COMMIT");
            raw.Exec("BEGIN");
            inBatch = 0;
        }
    }
    raw.Exec("COMMIT");
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    return checked;
}

int EngineScan(engine::storage::Connection& connection, const std::string& text) {
    auto scans =
        kashidashi::library::ScanReaderLines(connection, kashidashi::exchange::ParseScanFile(text));
    return kashidashi::library::Summarise(scans).checked;
}

// One raw scan: the book and its place read, its flag set.
double RawOneScan(RawDb& raw, int64_t number) {
    return Seconds([&] {
        sqlite3_stmt *read = nullptr, *write = nullptr;
        sqlite3_prepare_v2(raw.db(),
                           "SELECT Book.syomei2, Book.seikyu, HKN.HKN, Book.kashidashiF,"
                           " Book.haikiF FROM Book LEFT JOIN HKN ON Book.HKN_ID = HKN.HKN_ID"
                           " WHERE BOOK_ID = ?1",
                           -1, &read, nullptr);
        sqlite3_prepare_v2(raw.db(),
                           "UPDATE Book SET tenkenF = 1 WHERE BOOK_ID = ?1 AND"
                           " (tenkenF IS NULL OR tenkenF = 0)",
                           -1, &write, nullptr);
        sqlite3_bind_int64(read, 1, number);
        if (sqlite3_step(read) == SQLITE_ROW) {
            sqlite3_bind_int64(write, 1, number);
            sqlite3_step(write);
        }
        sqlite3_finalize(read);
        sqlite3_finalize(write);
    });
}

void RunWindowCase(const std::string& folder) {
    using kashidashi::TDM;
    TDM& dm = TDM::Create();
    dm.settings.DataFolder = folder;
    kashidashi::Dialogs::SetResponder([](const kashidashi::Dialogs::Request& request) -> int {
        throw std::runtime_error("the window said: " + request.text.toStdString());
    });
    {
        RawDb raw(folder);
        raw.Exec("UPDATE Book SET tenkenF = NULL");
        kashidashi::TTenken window;
        window.show();
        window.Button1Click();  // no check runs: no question
        auto* entry = window.findChild<QLineEdit*>("Edit1");
        constexpr int kWindowScans = 200;
        std::vector<double> windowSeconds, rawSeconds;
        for (int i = 0; i < kWindowScans; ++i) {
            const int64_t book = 1 + (i * 97) % (kBooks / 2);
            char label[16];
            std::snprintf(label, sizeof label, "%07lld", static_cast<long long>(book));
            windowSeconds.push_back(Seconds([&] {
                entry->setText(QString::fromLatin1(label));
                window.Edit1Enter();
                QCoreApplication::processEvents();  // the grid and the counts drawn
            }));
            if (window.LastScan().answer != kashidashi::library::ScanAnswer::Checked)
                throw std::runtime_error("inventory_window_scan: a scan was not checked");
            rawSeconds.push_back(RawOneScan(raw, kBooks / 2 + book));
        }
        Report("inventory_window_scan", Median(windowSeconds), Median(rawSeconds), 5);
    }
    kashidashi::Dialogs::SetResponder({});
    TDM::Destroy();
}

}  // namespace

void RunInventoryCases() {
    const std::string folder = ScratchFolder("inventory");
    MakeTables(folder);
    FillBooks(folder);
    const std::string text = ReaderFile();
    kashidashi::library::PlaceConnection connection(kashidashi::library::DataPlace::Folder(folder));
    RawDb raw(folder);
    int engineChecked = 0, rawChecked = 0;
    ReportInStep(
        "inventory_scan_10k", kTurns,
        [&](int) {
            raw.Exec("UPDATE Book SET tenkenF = NULL");
            return Seconds([&] { engineChecked = EngineScan(*connection, text); });
        },
        [&](int) {
            raw.Exec("UPDATE Book SET tenkenF = NULL");
            return Seconds([&] { rawChecked = RawScan(raw, text); });
        });
    if (engineChecked != rawChecked)
        throw std::runtime_error("inventory_scan_10k: the checked books differ (" +
                                 std::to_string(engineChecked) + " against " +
                                 std::to_string(rawChecked) + ")");
    RunWindowCase(folder);
}

}  // namespace bench
