// The catalogue's search (蔵書・利用者の管理, library/holdings/book_search.h):
// a two-word kana search ("ねこ たかはし" typed in hiragana, the titles kept in
// hiragana and katakana, the readings in half-width katakana) over 100,000
// books, against raw SQLite finding the same books with LIKE over the same
// columns in the forms the books are stored in (it knows them; the search
// folds every form). Turns in step; the books found must agree.
//
//   catalogue_search_100k   search seconds, raw seconds, ratio
#include <set>
#include <stdexcept>
#include <string>

#include "bench_fixture.h"
#include "data/schema.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "library/data_place.h"
#include "library/holdings/book_search.h"

namespace bench {
namespace {

constexpr int kBooks = 100'000;
constexpr int kTurns = 5;

void MakeTables(const std::string& folder) {
    engine::TDBSession session("CATALOGUEBENCHSETUP");
    engine::TDBDatabase database("SETUP", session);
    database.SetDirectory(folder);
    engine::TDBQuery script;
    script.SetSessionName("CATALOGUEBENCHSETUP");
    script.SetDatabaseName("SETUP");
    script.SQL().SetText(kashidashi::DataTablesScript());
    script.ExecSQL();
}

// Titles: every 7th book "ねこ", every 5th "ネコ" in katakana, the others
// "いぬ"; the author's reading "ﾀｶﾊｼ" on every 3rd book, "ｻﾄｳ" else.
void FillBooks(const std::string& folder) {
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec("INSERT INTO HKN (HKN_ID, HKN) VALUES (1, '図書室')");
    raw.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
             std::to_string(kBooks) +
             ") INSERT INTO Book (BOOK_ID, syomei2, cyosya1, key2, seikyu, HKN_ID, NDC_ID,"
             " kashidashiF, yoyakuF, kintaiF, haikiF) SELECT i,"
             " CASE WHEN i % 7 = 0 THEN 'よるのねこ ' || i WHEN i % 5 = 0 THEN 'ネコの本 ' || i"
             " ELSE 'いぬの本 ' || i END, '著者' || (i % 100),"
             " CASE WHEN i % 3 = 0 THEN 'ﾀｶﾊｼ' ELSE 'ｻﾄｳ' END, '913-' || (i % 50), 1, 913,"
             " 0, 0, 0, 0 FROM n");
    raw.Exec("COMMIT");
}

std::set<int64_t> RawSearch(RawDb& raw) {
    const char* sql =
        "SELECT BOOK_ID FROM Book WHERE (syomei2 LIKE '%ねこ%' OR syomei2 LIKE '%ネコ%' OR"
        " key1 LIKE '%ﾈｺ%') AND (key2 LIKE '%ﾀｶﾊｼ%' OR cyosya1 LIKE '%たかはし%' OR"
        " cyosya1 LIKE '%タカハシ%')";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(raw.db(), sql, -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(raw.db()));
    std::set<int64_t> found;
    while (sqlite3_step(statement) == SQLITE_ROW) found.insert(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    return found;
}

}  // namespace

void RunCatalogueSearchCases() {
    const std::string folder = ScratchFolder("catalogue_search");
    MakeTables(folder);
    FillBooks(folder);
    kashidashi::library::PlaceConnection connection(kashidashi::library::DataPlace::Folder(folder));
    RawDb raw(folder);
    std::set<int64_t> searched, rawFound;
    ReportInStep(
        "catalogue_search_100k", kTurns,
        [&](int) {
            return Seconds([&] {
                searched.clear();
                for (const auto& hit : kashidashi::library::holdings::SearchBooks(
                         *connection, {"ねこ たかはし", false, {}, {}}))
                    searched.insert(hit.number);
            });
        },
        [&](int) { return Seconds([&] { rawFound = RawSearch(raw); }); });
    if (searched != rawFound)
        throw std::runtime_error("catalogue_search_100k: the books found differ (" +
                                 std::to_string(searched.size()) + " against " +
                                 std::to_string(rawFound.size()) + ")");
}

}  // namespace bench
