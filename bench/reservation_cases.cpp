// The reservation case: the desk's own list of 予約状況, window-free.
//
//   reservation_list_all  "すべて表示する" (RadioGroup3 item 2, ordered by
//                         time) over 20,000 reservations: yoyakuQry with its
//                         left joins of Book and of the open loans, opened,
//                         and the texts of DBGrid6's seven columns read for
//                         every row; against raw SQLite running the same
//                         joins and reading the same columns. Median of a run.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_fixture.h"
#include "data/U_DM.h"
#include "data/schema.h"
#include "desk/desk.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace bench {
namespace {

using kashidashi::TDM;
using kashidashi::desk::Desk;

constexpr int kBooks = 30'000;
constexpr int kUsers = 1'000;
constexpr int kLoans = 60'000;  // every tenth still out
constexpr int kReservations = 20'000;
constexpr int kRuns = 7;
const char* const kColumns[] = {"Book_ID",    "syomei2", "kashidashiF", "henkyakuyotei",
                                "利用者番号", "Name",    "yoyakuDTime"};

std::string Numbers(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(count) + ") ";
}

// The data tables by the engine's script, filled through raw SQLite.
void MakeReservationFolder(const std::string& folder) {
    {
        engine::TDBSession session("RESBENCHSETUP");
        engine::TDBDatabase database("SETUP", session);
        database.SetDirectory(folder);
        engine::TDBQuery script;
        script.SetSessionName("RESBENCHSETUP");
        script.SetDatabaseName("SETUP");
        script.SQL().SetText(kashidashi::DataTablesScript());
        script.ExecSQL();
    }
    const std::string today = std::to_string(engine::Today().days);
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(Numbers(kBooks) +
             "INSERT INTO Book (BOOK_ID, syomei2, ISBN, kashidashiF, yoyakuF) SELECT i, "
             "'本の題名 ' || i, '9784' || substr('00000000' || (i / 3), -8), i % 10 = 0, 1 "
             "FROM n");
    raw.Exec(Numbers(kUsers) +
             "INSERT INTO Name (NAME_ID, seito_No, NAME, mihenkyakuSU) SELECT "
             "substr('000000' || i, -6), substr('00000' || i, -5), '利用者 ' || i, 0 FROM n");
    raw.Exec(Numbers(kLoans) +
             "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF, seitoNo, "
             "kashidashibi) SELECT (i * 7919) % " +
             std::to_string(kBooks) + " + 1, substr('000000' || (i % 1000 + 1), -6), " + today +
             " + 14, CASE WHEN i % 10 = 0 THEN '1' ELSE '0' END, "
             "substr('00000' || (i % 1000 + 1), -5), " +
             today + " FROM n");
    raw.Exec(Numbers(kReservations) +
             "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi, "
             "ISBN_ID, yoyakuDTime) SELECT (i * 104729) % " +
             std::to_string(kBooks) +
             " + 1, i, substr('000000' || (i % 1000 + 1), -6), substr('00000' || (i % 1000 + "
             "1), -5), '利用者 ' || (i % 1000 + 1), " +
             today + ", '9784' || substr('00000000' || (((i * 104729) % " + std::to_string(kBooks) +
             " + 1) / 3), -8), " +
             std::to_string(int64_t{engine::Today().days} * engine::kMsecsPerDay) +
             " + i * 1000 FROM n");
    raw.Exec("COMMIT");
}

// The desk's list, opened and read as the grid shows it.
size_t EngineList(Desk& desk) {
    desk.state.listMode = 2;
    desk.state.listOrder = 2;
    desk.ListModeClicked();
    size_t total = 0;
    auto& list = desk.yoyakuQry;
    for (list.First(); !list.Eof(); list.Next())
        for (const char* column : kColumns) total += list.FieldByName(column).DisplayText().size();
    list.Close();
    return total;
}

// The same joins and columns through raw SQLite.
size_t RawList(RawDb& raw) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(),
                       "SELECT yoyaku.Book_ID, Book.syomei2, kashibo.kashidashiF, "
                       "kashibo.henkyakuyotei, yoyaku.Name_ID, yoyaku.Name, yoyaku.yoyakuDTime "
                       "FROM yoyaku LEFT JOIN Book ON yoyaku.Book_ID = Book.BOOK_ID "
                       "LEFT JOIN kashibo ON yoyaku.Book_ID = kashibo.BOOK_ID AND "
                       "kashibo.kashidashiF = '1' ORDER BY yoyaku.yoyakuDTime",
                       -1, &stmt, nullptr);
    std::vector<std::vector<std::string>> rows;
    size_t total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> texts;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            texts.emplace_back(text ? text : "");
            total += texts.back().size();
        }
        rows.push_back(std::move(texts));
    }
    sqlite3_finalize(stmt);
    return total;
}

}  // namespace

void RunReservationCases() {
    const std::string data = ScratchFolder("reservation_bench_data");
    MakeReservationFolder(data);
    TDM& dm = TDM::Create();
    dm.settings.UserNumberMode = 5;
    dm.DBSession1.SetSessionType(engine::SessionType::stLocal);
    dm.DBDatabase1.SetDirectory(data);
    {
        Desk desk;
        RawDb raw(data);
        std::vector<double> engineRuns, rawRuns;
        size_t shown = 0, read = 0;
        for (int run = 0; run < kRuns; ++run) {
            engineRuns.push_back(Seconds([&] { shown = EngineList(desk); }));
            rawRuns.push_back(Seconds([&] { read = RawList(raw); }));
        }
        if (shown == 0 || read == 0) throw std::runtime_error("the reservation list was empty");
        Report("reservation_list_all", Median(engineRuns), Median(rawRuns));
    }
    TDM::Destroy();
}

}  // namespace bench
