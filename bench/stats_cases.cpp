// The statistics case: every view of a school year of 200,000 loans (600
// users in 18 classes and the staff, 20,000 books, 8,000 titles with an
// ISBN, some books without classification or ISBN) counted as the
// librarian's layer counts them, against raw SQLite doing the same counts
// with GROUP BY in one statement per view (joins included). Medians of five
// turns taken in step; each view's counts are checked to agree.
//
//   stats_year_<view>   engine seconds, raw seconds, ratio
//   stats_year          all six views together
#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

#include "bench_fixture.h"
#include "data/schema.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "library/data_place.h"
#include "library/stats/stats.h"

namespace bench {
namespace {

using kashidashi::library::StatsView;

constexpr int kLoans = 200'000;
constexpr int kBooks = 20'000;
constexpr int kUsers = 600;
constexpr int kTurns = 5;

std::string Numbers(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(count) + ") ";
}

void MakeTables(const std::string& folder) {
    engine::TDBSession session("STATSBENCHSETUP");
    engine::TDBDatabase database("SETUP", session);
    database.SetDirectory(folder);
    engine::TDBQuery script;
    script.SetSessionName("STATSBENCHSETUP");
    script.SetDatabaseName("SETUP");
    script.SQL().SetText(kashidashi::DataTablesScript());
    script.ExecSQL();
}

// Classes 101..603 (six grades of three) and 900 職員; users spread over
// them; loans over the 365 days of school year 2024 and ten days around it.
void FillSchool(const std::string& folder, engine::Date first) {
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(Numbers(18) +
             "INSERT INTO SYOZOKU (SYOZOKU_ID, SYOZOKU) SELECT ((i-1)/3+1)*100 + (i-1)%3+1,"
             " ((i-1)/3+1) || '年' || ((i-1)%3+1) || '組' FROM n");
    raw.Exec("INSERT INTO SYOZOKU (SYOZOKU_ID, SYOZOKU) VALUES (900, '職員')");
    raw.Exec(Numbers(kUsers) +
             "INSERT INTO Name (NAME_ID, seito_No, NAME, syozoku_ID) SELECT"
             " substr('000000' || i, -6), substr('00000' || i, -5), '利用者 ' || i,"
             " CASE WHEN i % 40 = 0 THEN 900 WHEN i % 97 = 0 THEN NULL"
             " ELSE ((i % 18)/3+1)*100 + (i % 18)%3+1 END FROM n");
    raw.Exec(Numbers(kBooks) +
             "INSERT INTO Book (BOOK_ID, syomei2, NDC_ID, ISBN) SELECT i,"
             " '本の題名 ' || (i % 8000), CASE WHEN i % 11 = 0 THEN NULL ELSE (i * 37) % 1000 END,"
             " CASE WHEN i % 13 = 0 THEN NULL ELSE '9784' || substr('00000000' || (i % 8000), -8) "
             "END FROM n");
    const std::string day = std::to_string(first.days - 5) + " + (i * 7) % 375";
    raw.Exec(Numbers(kLoans) +
             "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF,"
             " seitoNo, kashidashibi, henkyakubi) SELECT 1 + (i * 7919) % 20020,"
             " substr('000000' || (1 + (i * 31) % 610), -6), " +
             day +
             " + 14, NULL,"
             " substr('00000' || (1 + (i * 31) % 610), -5), " +
             day + ", " + day + " + 7 FROM n");
    raw.Exec("COMMIT");
}

// Raw SQLite: one statement per view, its rows summed into a check value.
const std::map<StatsView, const char*> kRawStatements = {
    {StatsView::Month,
     "SELECT strftime('%Y/%m', kashidashibi + 2415018.5) m, COUNT(*) FROM kashibo"
     " WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY m"},
    {StatsView::Grade,
     "SELECT CASE WHEN s.SYOZOKU LIKE '%職員%' THEN 0 ELSE Name.syozoku_ID / 100 END g, COUNT(*)"
     " FROM kashibo LEFT JOIN Name ON kashibo.NAME_ID = Name.NAME_ID"
     " LEFT JOIN SYOZOKU s ON Name.syozoku_ID = s.SYOZOKU_ID"
     " WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY g"},
    {StatsView::Class,
     "SELECT Name.syozoku_ID, COUNT(*) FROM kashibo LEFT JOIN Name ON kashibo.NAME_ID = "
     "Name.NAME_ID"
     " WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY Name.syozoku_ID"},
    {StatsView::Ndc,
     "SELECT CASE WHEN Book.NDC_ID > 0 AND Book.NDC_ID < 1000 THEN CAST(Book.NDC_ID / 100 AS "
     "INTEGER)"
     " ELSE -1 END c, COUNT(*) FROM kashibo LEFT JOIN Book ON kashibo.BOOK_ID = Book.BOOK_ID"
     " WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY c"},
    {StatsView::Title,  // the twenty most borrowed, and all tied with the twentieth
     "WITH t AS (SELECT COALESCE(Book.ISBN, 'b' || kashibo.BOOK_ID) k, MAX(Book.syomei2) s,"
     " COUNT(*) c FROM kashibo LEFT JOIN Book ON kashibo.BOOK_ID = Book.BOOK_ID"
     " WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY k)"
     " SELECT k, s, c FROM t WHERE c >= (SELECT c FROM t ORDER BY c DESC LIMIT 1 OFFSET 19)"
     " ORDER BY c DESC, s"},
    {StatsView::Users,
     "SELECT u.syozoku_ID, u.n, COALESCE(b.n, 0) FROM"
     " (SELECT syozoku_ID, COUNT(*) n FROM Name GROUP BY syozoku_ID) u LEFT JOIN"
     " (SELECT Name.syozoku_ID s, COUNT(DISTINCT kashibo.NAME_ID) n FROM kashibo"
     "  JOIN Name ON kashibo.NAME_ID = Name.NAME_ID"
     "  WHERE kashidashibi >= ?1 AND kashidashibi <= ?2 GROUP BY Name.syozoku_ID) b"
     " ON u.syozoku_ID IS b.s"}};

// The sum of the counts of the view (the last column; for users the borrowers).
int64_t RawCounts(RawDb& raw, StatsView view, engine::Date from, engine::Date to) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(raw.db(), kRawStatements.at(view), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(raw.db()));
    sqlite3_bind_int(stmt, 1, from.days);
    sqlite3_bind_int(stmt, 2, to.days);
    int64_t total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        total += sqlite3_column_int64(stmt, sqlite3_column_count(stmt) - 1);
    sqlite3_finalize(stmt);
    return total;
}

int64_t EngineCounts(engine::storage::Connection& connection, StatsView view, engine::Date from,
                     engine::Date to) {
    auto table = kashidashi::library::CountLoans(connection, from, to, view);
    int64_t total = 0;
    for (const auto& row : table.rows) total += row.count;
    return total;
}

const std::pair<StatsView, const char*> kViews[] = {
    {StatsView::Month, "month"}, {StatsView::Grade, "grade"}, {StatsView::Class, "class"},
    {StatsView::Ndc, "ndc"},     {StatsView::Title, "title"}, {StatsView::Users, "users"}};

}  // namespace

void RunStatsCases() {
    const std::string folder = ScratchFolder("stats");
    auto [from, to] = kashidashi::library::SchoolYear(2024);
    MakeTables(folder);
    FillSchool(folder, from);
    kashidashi::library::PlaceConnection connection(kashidashi::library::DataPlace::Folder(folder));
    RawDb raw(folder);
    std::vector<double> allEngine(kTurns), allRaw(kTurns);
    for (const auto& [view, name] : kViews) {
        std::vector<double> engineTimes, rawTimes;
        int64_t engineTotal = 0, rawTotal = 0;
        for (int turn = 0; turn < kTurns; ++turn) {
            engineTimes.push_back(
                Seconds([&] { engineTotal = EngineCounts(*connection, view, from, to); }));
            rawTimes.push_back(Seconds([&] { rawTotal = RawCounts(raw, view, from, to); }));
            allEngine[turn] += engineTimes.back();
            allRaw[turn] += rawTimes.back();
        }
        if (engineTotal != rawTotal)
            throw std::runtime_error(std::string("stats_year_") + name + ": the counts differ (" +
                                     std::to_string(engineTotal) + " against " +
                                     std::to_string(rawTotal) + ")");
        Report(std::string("stats_year_") + name, Median(engineTimes), Median(rawTimes));
    }
    Report("stats_year", Median(allEngine), Median(allRaw));
}

}  // namespace bench
