// The report case: a loan list of 5,000 rows laid out into pages through the
// period list layout, over the desk's own list query (its fields, its
// calculated user number in UserNumberMode 4, the period as PM1 and PM2),
// against raw SQLite reading the same rows of the same join. The data tables
// are the program's own; some books are still out (empty return date) and
// some have classification 0. Median of five turns taken in step, so that
// the fonts loaded once per program are not counted.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_fixture.h"
#include "data/U_DM.h"
#include "data/schema.h"
#include "desk/desk_reservation.h"
#include "engine/dataset/field.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace bench {
namespace {

constexpr int kLoans = 5'000;
constexpr int kFirstDay = 45'000;
constexpr int kTurns = 5;

std::string Numbers(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
           std::to_string(count) + ") ";
}

// The program's data tables; 1,000 users, a book for every loan (every
// tenth with classification 0), loans over 30 days, every seventh still out.
void MakeLoanFolder(const std::string& folder) {
    {
        engine::TDBSession session("RBENCHSETUP");
        engine::TDBDatabase database("SETUP", session);
        database.SetDirectory(folder);
        engine::TDBQuery script;
        script.SetSessionName("RBENCHSETUP");
        script.SetDatabaseName("SETUP");
        script.SQL().SetText(kashidashi::DataTablesScript());
        script.ExecSQL();
    }
    RawDb raw(folder);
    raw.Exec("BEGIN");
    raw.Exec(Numbers(kLoans) +
             "INSERT INTO Book (BOOK_ID, syomei2, NDC_ID) SELECT i, '本の題名 ' || i ||"
             " CASE WHEN i % 50 = 0 THEN 'と、とても長い副題のついた一冊の本' ELSE '' END,"
             " CASE WHEN i % 10 = 0 THEN 0 ELSE 100 + i % 800 END FROM n");
    raw.Exec(Numbers(1000) +
             "INSERT INTO Name (NAME_ID, seito_No, NAME) SELECT substr('000000' || i, -6),"
             " substr('00000' || i, -5), '利用者 ' || i FROM n");
    const std::string lent = std::to_string(kFirstDay) + " + i % 30";
    raw.Exec(Numbers(kLoans) +
             "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF, seitoNo,"
             " kashidashibi, henkyakubi) SELECT i, substr('000000' || (1 + i % 1000), -6), " +
             lent + " + 14, '0', substr('00000' || (1 + i % 1000), -5), " + lent +
             ", CASE WHEN i % 7 = 0 THEN NULL ELSE " + lent + " + 10 END FROM n");
    raw.Exec("COMMIT");
}

// The data module the calculated user number reads, over the folder.
void PrepareDataModule(const std::string& folder) {
    kashidashi::TDM& dm = kashidashi::TDM::Create();
    dm.settings.UserNumberMode = 4;
    dm.DBSession1.SetSessionType(engine::SessionType::stLocal);
    dm.DBDatabase1.SetDirectory(folder);
}

using kashidashi::reports::FieldReading;
using kashidashi::reports::ReportSource;

class School : public ReportSource {
  public:
    const std::string& Name() const override { return name_; }
    void Open() override {}
    void First() override {}
    void Next() override {}
    bool Eof() const override { return false; }
    void Close() override {}
    FieldReading Field(std::string_view) const override {
        return {engine::Value(school_), engine::FieldType::String, school_};
    }

  private:
    std::string name_ = "rptHead";
    std::string school_ = "若葉小学校";
};

size_t LayOut(const kashidashi::reports::Layout& layout) {
    engine::TDBQuery list;
    kashidashi::desk::DeclarePeriodList(list);
    list.SQL().Add(kashidashi::desk::PeriodListStatement(false));
    list.ParamByName("PM1").SetAsDate(engine::Date{kFirstDay});
    list.ParamByName("PM2").SetAsDate(engine::Date{kFirstDay + 29});
    School head;
    auto rows = kashidashi::reports::DataSetSource("rptDBDataset2", list, true);
    return kashidashi::reports::RenderReport(layout, {rows.get(), &head}).pages.size();
}

size_t RawRows(const std::string& folder) {
    RawDb raw(folder);
    sqlite3_stmt* stmt = nullptr;
    // The desk's statement as it stands: SQLite numbers :PM1 and :PM2 1 and 2.
    const std::string sql = kashidashi::desk::PeriodListStatement(false);
    sqlite3_prepare_v2(raw.db(), sql.c_str(), -1, &stmt, nullptr);
    sqlite3_bind_int(stmt, 1, kFirstDay);
    sqlite3_bind_int(stmt, 2, kFirstDay + 29);
    size_t rows = 0, bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) bytes += sqlite3_column_bytes(stmt, c);
    }
    sqlite3_finalize(stmt);
    return rows + (bytes == 0);
}

}  // namespace

void RunReportCases() {
    std::string folder = ScratchFolder("reports");
    MakeLoanFolder(folder);
    PrepareDataModule(folder);
    auto layout = kashidashi::reports::LoadLayout(QStringLiteral("period_list"));
    std::vector<double> engineTimes, rawTimes;
    size_t pages = 0, rows = 0;
    for (int turn = 0; turn < kTurns; ++turn) {
        engineTimes.push_back(Seconds([&] { pages = LayOut(layout); }));
        rawTimes.push_back(Seconds([&] { rows = RawRows(folder); }));
        if (rows != kLoans || pages < 50)
            throw std::runtime_error("the loan list was not laid out");
    }
    kashidashi::TDM::Destroy();
    double engine = Median(engineTimes);
    Report("report_period_list", engine, Median(rawTimes));
    std::printf("report_period_list pages %zu, %.2f ms a page\n", pages, engine * 1000 / pages);
}

}  // namespace bench
