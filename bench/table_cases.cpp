// The table cases: key searches, the writes of one lending, a walk over a
// table, and the memory a million-row table costs when opened.
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "bench_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine_side.h"

namespace bench {
namespace {

constexpr int kBooks = 100'000;
constexpr int kSearches = 50'000;
constexpr int kTurns = 5;

double RawKeySearch(RawDb& raw, const std::vector<int>& ids) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(
        raw.db(), "SELECT rowid, * FROM Book WHERE BOOK_ID = ? ORDER BY BOOK_ID, rowid LIMIT 1", -1,
        &stmt, nullptr);
    size_t total = 0;
    double seconds = Seconds([&] {
        for (int id : ids) {
            sqlite3_bind_int(stmt, 1, id);
            if (sqlite3_step(stmt) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_value(stmt, c);
                total +=
                    std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))).size();
            }
            sqlite3_reset(stmt);
        }
    });
    sqlite3_finalize(stmt);
    return total ? seconds : -1;
}

// The searches in turns of the engine and the raw side taken in step, so
// that both meet the same load of a shared machine.
void KeySearch(const std::string& folder) {
    EngineSide side(folder);
    RawDb raw(folder);
    auto ids = RandomIds(kSearches, kBooks);
    RawKeySearch(raw, ids);  // warm the page cache for both
    std::vector<std::vector<int>> turns(kTurns);
    for (size_t i = 0; i < ids.size(); ++i) turns[i % kTurns].push_back(ids[i]);
    ReportInStep(
        "book_key_search", kTurns, [&](int turn) { return EngineKeySearch(side, turns[turn]); },
        [&](int turn) { return RawKeySearch(raw, turns[turn]); });
}

void RawLend(RawDb& raw, int round) {
    static const char* kInsert =
        "INSERT INTO kashibo (BOOK_ID, NAME_ID, kashidashiF, seitoNo, kashidashibi, henkyakuyotei) "
        "VALUES (?, '000001', '1', '00001', 46000, 46007)";
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* book = nullptr;
    sqlite3_prepare_v2(raw.db(), kInsert, -1, &insert, nullptr);
    sqlite3_prepare_v2(raw.db(), "UPDATE Book SET kashidashiF = 1 WHERE BOOK_ID = ?", -1, &book,
                       nullptr);
    raw.Exec("PRAGMA synchronous=FULL");
    raw.Exec("BEGIN IMMEDIATE");
    for (int i = 0; i < 3; ++i) {
        int bookId = 50'000 + round * 3 + i + 1;
        sqlite3_bind_int(insert, 1, bookId);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        sqlite3_bind_int(book, 1, bookId);
        sqlite3_step(book);
        sqlite3_reset(book);
    }
    raw.Exec("UPDATE Name SET mihenkyakuSU = mihenkyakuSU + 3 WHERE NAME_ID = '000001'");
    raw.Exec("COMMIT");
    raw.Exec("PRAGMA synchronous=NORMAL");
    sqlite3_finalize(insert);
    sqlite3_finalize(book);
}

void LendWrites(const std::string& folder) {
    constexpr int kRounds = 200;
    EngineSide side(folder);
    RawDb raw(folder);
    raw.Exec("PRAGMA synchronous=NORMAL");
    double engineSeconds = Seconds([&] {
        for (int round = 0; round < kRounds; ++round) EngineLend(side, round);
    });
    double rawSeconds = Seconds([&] {
        for (int round = 0; round < kRounds; ++round) RawLend(raw, round);
    });
    Report("lend_writes", engineSeconds, rawSeconds);
}

void TableWalk(const std::string& folder) {
    EngineSide side(folder);
    RawDb raw(folder);
    auto walkRaw = [&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw.db(), "SELECT rowid, * FROM Book ORDER BY BOOK_ID, rowid", -1, &stmt,
                           nullptr);
        size_t total = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_value(stmt, c);
            total += sqlite3_column_bytes(stmt, 2);
        }
        sqlite3_finalize(stmt);
        return total;
    };
    walkRaw();
    auto walkEngine = [&] {
        auto book = side.Table("Book");
        book->Open();
        size_t total = 0;
        for (book->First(); !book->Eof(); book->Next())
            total += book->FieldByName("syomei2").AsString().size();
    };
    ReportInStep(
        "table_walk", kTurns, [&](int) { return Seconds(walkEngine); },
        [&](int) { return Seconds(walkRaw); });
}

void MillionRows() {
    std::string folder = ScratchFolder("million");
    // The table is filled by a child process, so that none of the filling's
    // memory is reused by the engine here and hides its true cost.
    pid_t child = fork();
    if (child == 0) {
        MakeLendingTables(folder, 1'000'000);
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    long before = ResidentKilobytes();
    {
        EngineSide side(folder);
        auto book = side.Table("Book");
        book->Open();
        for (int id : RandomIds(10'000, 1'000'000)) book->FindKey({engine::Value(id)});
        book->First();
        for (int i = 0; i < 10'000; ++i) book->Next();
        long after = ResidentKilobytes();
        std::printf("open_million_rows_rss_mb %.1f\n", (after - before) / 1024.0);
    }
}

}  // namespace

void RunTableCases() {
    MillionRows();  // first, while the heap holds nothing another case freed
    std::string folder = ScratchFolder("tables");
    MakeLendingTables(folder, kBooks);
    KeySearch(folder);
    LendWrites(folder);
    TableWalk(folder);
}

}  // namespace bench
