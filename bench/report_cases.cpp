// The report case: a loan list of 5,000 rows laid out into pages through the
// period list layout (the engine's query read as the report reads it),
// against raw SQLite reading the same rows of the same join.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_fixture.h"
#include "engine/dataset/field.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace bench {
namespace {

constexpr int kLoans = 5'000;
constexpr const char* kJoin =
    " From kashibo Left Join Book On kashibo.BOOK_ID=BOOK.BOOK_ID"
    " Left Join Name On kashibo.name_ID=NAME.name_ID";

void AddLoans(const std::string& folder) {
    RawDb raw(folder);
    raw.Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
        std::to_string(kLoans) +
        ") INSERT INTO kashibo SELECT i, substr('000000' || (1 + i % 1000), -6), 45014 + i % 30,"
        " '0', substr('00000' || (1 + i % 1000), -5), 45000 + i % 30, 45010 + i % 30, NULL FROM n");
}

using kashidashi::reports::FieldReading;
using kashidashi::reports::ReportSource;

// The desk's calculated user number and the classification, over the rows.
class LoanRows : public ReportSource {
  public:
    explicit LoanRows(engine::TDataSet& query)
        : rows_(kashidashi::reports::DataSetSource("rptDBDataset2", query, true)), query_(query) {}
    const std::string& Name() const override { return rows_->Name(); }
    void Open() override { rows_->Open(); }
    void First() override { rows_->First(); }
    void Next() override { rows_->Next(); }
    bool Eof() const override { return rows_->Eof(); }
    void Close() override { rows_->Close(); }
    FieldReading Field(std::string_view name) const override {
        if (name == "利用者番号") {
            int64_t n = std::stoll("0" + query_.FieldByName("seitoNo").AsString());
            return {engine::Value(n), engine::FieldType::Integer, std::to_string(n)};
        }
        if (name == "NDC_ID") return {engine::Value(913), engine::FieldType::Integer, "913"};
        return rows_->Field(name);
    }

  private:
    std::unique_ptr<ReportSource> rows_;
    engine::TDataSet& query_;
};

class School : public ReportSource {
  public:
    const std::string& Name() const override { return name_; }
    void Open() override {}
    void First() override {}
    void Next() override {}
    bool Eof() const override { return false; }
    void Close() override {}
    FieldReading Field(std::string_view) const override { return {engine::Value("若葉小学校")}; }

  private:
    std::string name_ = "rptHead";
};

size_t LayOut(const std::string& folder) {
    engine::TDBSession session("RBENCH");
    engine::TDBDatabase database("AAA", session);
    database.SetDirectory(folder);
    engine::TDBQuery query;
    query.SetSessionName("RBENCH");
    query.SetDatabaseName("AAA");
    query.SQL().Add(std::string("Select Name.name_ID, Name.seito_No, Name.name, kashibo.*, "
                                "BOOK.syomei2") +
                    kJoin + " Order By seitoNo, henkyakubi");
    School head;
    LoanRows rows(query);
    auto report = kashidashi::reports::RenderReport(
        kashidashi::reports::LoadLayout(QStringLiteral("period_list")), {&rows, &head});
    return report.pages.size();
}

size_t RawRows(const std::string& folder) {
    RawDb raw(folder);
    sqlite3_stmt* stmt = nullptr;
    std::string sql = std::string(
                          "SELECT Name.name_ID, Name.seito_No, Name.name, kashibo.*, "
                          "Book.syomei2") +
                      kJoin + " ORDER BY seitoNo, henkyakubi";
    sqlite3_prepare_v2(raw.db(), sql.c_str(), -1, &stmt, nullptr);
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
    MakeLendingTables(folder, kLoans);
    AddLoans(folder);
    RawRows(folder);  // warm the page cache for both
    size_t pages = 0, rows = 0;
    double engine = Seconds([&] { pages = LayOut(folder); });
    double raw = Seconds([&] { rows = RawRows(folder); });
    if (rows != kLoans || pages < 50) throw std::runtime_error("the loan list was not laid out");
    Report("report_period_list", engine, raw);
    std::printf("report_period_list pages %zu, %.2f ms a page\n", pages, engine * 1000 / pages);
}

}  // namespace bench
