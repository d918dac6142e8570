// The query cases: the loan list of one month, and the reservation queue of
// one book, each against hand-written SQLite doing the same work.
#include <fstream>
#include <random>
#include <sstream>

#include "bench_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace bench {
namespace {

constexpr int kLoans = 300'000;
constexpr int kReservations = 20'000;
constexpr int kLookups = 2'000;

const char* kPeriodList =
    "Select Name.name_ID, Name.seito_No,Name.name, kashibo.*, BOOK.syomei2,Book.NDC_ID From "
    "kashibo "
    "Left Join Book On kashibo.BOOK_ID=BOOK.BOOK_ID Left Join Name On kashibo.name_ID=NAME.name_ID "
    "where kashidashibi>=:PM1 and kashidashibi<=:PM2 Order By  SeitoNo,  henkyakubi ";

const char* kRawPeriodList =
    "SELECT n.NAME_ID, n.seito_No, n.NAME, k.*, b.syomei2, b.NDC_ID FROM kashibo k "
    "LEFT JOIN Book b ON k.BOOK_ID = b.BOOK_ID LEFT JOIN Name n ON k.NAME_ID = n.NAME_ID "
    "WHERE k.kashidashibi >= ? AND k.kashidashibi <= ? ORDER BY k.seitoNo, k.henkyakubi";

const char* kRawQueue =
    "SELECT yoyakuDTime, Book_ID, Name_ID FROM yoyaku WHERE Book_ID = ? OR "
    "(ISBN_ID IS NOT NULL AND ISBN_ID = ?) ORDER BY yoyakuDTime";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct EngineSide {
    engine::TDBSession session{"QBENCH"};
    engine::TDBDatabase database{"AAA", session};
    explicit EngineSide(const std::string& folder) { database.SetDirectory(folder); }
    std::unique_ptr<engine::TDBQuery> Query(const std::string& text) {
        auto query = std::make_unique<engine::TDBQuery>();
        query->SetSessionName("QBENCH");
        query->SetDatabaseName("AAA");
        query->SQL().SetText(text);
        return query;
    }
};

// The desk's own data tables, filled through raw SQLite: loans over two
// years from 2024/04/01, reservations of single copies and of titles.
void MakeTables(const std::string& folder) {
    {
        EngineSide side(folder);
        side.Query(ReadFile(KX_DATA_TABLES_SCRIPT))->ExecSQL();
    }
    int firstDay = engine::MakeDate(2024, 4, 1).days;
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<100000) "
        "INSERT INTO Book (BOOK_ID, syomei2, NDC_ID, ISBN) SELECT i, '本の題名 ' || i, i % 10, "
        "'9784' || substr('00000000' || (i % 40000), -8) FROM n");
    raw.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
        "INSERT INTO Name (NAME_ID, seito_No, NAME) SELECT substr('000000' || i, -6), "
        "substr('00000' || i, -5), '利用者 ' || i FROM n");
    raw.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
             std::to_string(kLoans) +
             ") INSERT INTO kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
             "henkyakubi) "
             "SELECT (i * 7919) % 100000 + 1, substr('000000' || (i % 1000 + 1), -6), "
             "substr('00000' || (i % 1000 + 1), -5), " +
             std::to_string(firstDay) + " + i % 730, " + std::to_string(firstDay + 7) +
             " + i % 730, " + std::to_string(firstDay + 5) + " + i % 730 FROM n");
    raw.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
        std::to_string(kReservations) +
        ") INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID, "
        "yoyakuDTime) SELECT i % 20000 + 1, i / 20000 + 1, substr('000000' || (i % 1000 + 1), -6), "
        "CASE WHEN i % 3 = 0 THEN '9784' || substr('00000000' || (i % 40000), -8) END, "
        "3900000000000 + i * 60000 FROM n");
    raw.Exec("COMMIT");
}

size_t WalkRaw(sqlite3_stmt* stmt) {
    size_t rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_value(stmt, c);
        ++rows;
    }
    sqlite3_reset(stmt);
    return rows;
}

size_t WalkQuery(engine::TDBQuery& query) {
    size_t rows = 0;
    for (query.Open(); !query.Eof(); query.Next(), ++rows)
        for (int f = 0; f < query.FieldCount(); ++f) query.Fields(f).GetValue();
    query.Close();
    return rows;
}

void PeriodList(const std::string& folder) {
    EngineSide side(folder);
    RawDb raw(folder);
    engine::Date from = engine::MakeDate(2025, 6, 1), to = engine::MakeDate(2025, 6, 30);
    auto query = side.Query(kPeriodList);
    query->ParamByName("PM1").SetAsDateTime(engine::MakeDateTime(from));
    query->ParamByName("PM2").SetAsDateTime(engine::MakeDateTime(to));
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(), kRawPeriodList, -1, &stmt, nullptr);
    sqlite3_bind_int(stmt, 1, from.days);
    sqlite3_bind_int(stmt, 2, to.days);
    size_t rawRows = WalkRaw(stmt), engineRows = 0;  // the first walk warms the cache
    double engineSeconds = Seconds([&] { engineRows = WalkQuery(*query); });
    double rawSeconds = Seconds([&] { rawRows = WalkRaw(stmt); });
    sqlite3_finalize(stmt);
    if (rawRows != engineRows || rawRows == 0)
        throw std::runtime_error("period_list: the results differ");
    Report("period_list", engineSeconds, rawSeconds);
}

void ReservationLookup(const std::string& folder) {
    EngineSide side(folder);
    RawDb raw(folder);
    auto query = side.Query(
        "Select yoyakuDTime, Book_ID,Name_ID From yoyaku\n"
        " where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)\n"
        " Order By YoyakuDTime");
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(), kRawQueue, -1, &stmt, nullptr);
    std::mt19937 random(7);
    std::vector<int> books(kLookups);
    for (auto& book : books) book = static_cast<int>(random() % 20000) + 1;
    auto isbn = [](int book) {
        std::string digits = "00000000" + std::to_string(book % 40000);
        return "9784" + digits.substr(digits.size() - 8);
    };
    size_t engineRows = 0, rawRows = 0;
    double engineSeconds = Seconds([&] {
        for (int book : books) {
            query->ParamByName("PM1").SetAsInteger(book);
            query->ParamByName("PM2").SetAsString(isbn(book));
            engineRows += WalkQuery(*query);
        }
    });
    double rawSeconds = Seconds([&] {
        for (int book : books) {
            sqlite3_bind_int(stmt, 1, book);
            std::string text = isbn(book);
            sqlite3_bind_text(stmt, 2, text.c_str(), -1, SQLITE_TRANSIENT);
            rawRows += WalkRaw(stmt);
        }
    });
    sqlite3_finalize(stmt);
    if (rawRows != engineRows) throw std::runtime_error("reservation_lookup: the results differ");
    Report("reservation_lookup", engineSeconds, rawSeconds);
}

}  // namespace

void RunQueryCases() {
    std::string folder = ScratchFolder("queries");
    MakeTables(folder);
    PeriodList(folder);
    ReservationLookup(folder);
}

}  // namespace bench
