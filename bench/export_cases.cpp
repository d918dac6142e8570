// The export case: csv_export, 10,000 reservations written by a grid's
// CopyCsvFile (the desk's query over yoyaku, its progress window, code page
// 932), against raw SQLite reading the same columns and writing the same
// bytes. The two files are compared: a difference fails the benchmark. Each
// side runs once before it is timed: the first progress window of a process
// loads its style and fonts, once per desk session. Medians of seven turns
// taken in step.
#include <iconv.h>

#include <QApplication>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "bench_fixture.h"
#include "data/data_source.h"
#include "data/field_specs.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/open_local.h"
#include "grid/LibXGrid.h"

namespace bench {
namespace {

constexpr int kReservations = 10'000;
constexpr int kTurns = 7;
constexpr const char* kSelect =
    "Select Book_ID, yoyaku_No, Name_ID, Name, Memo from yoyaku Order By Book_ID, yoyaku_No";

void MakeReservations(const std::string& folder) {
    using engine::FieldType;
    engine::storage::OpenLocal(folder)->CreateTable(
        engine::storage::TableSchema{"yoyaku",
                                     {{"Book_ID", {FieldType::Integer, 0}},
                                      {"yoyaku_No", {FieldType::Integer, 0}},
                                      {"Name_ID", {FieldType::String, 6}},
                                      {"Name", {FieldType::String, 20}},
                                      {"Memo", {FieldType::String, 40}}},
                                     {{"PRIMARY", {"Book_ID", "yoyaku_No"}, true, true}}});
    RawDb raw(folder);
    raw.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<" +
             std::to_string(kReservations) +
             ") INSERT INTO yoyaku SELECT i / 3, i % 3, substr('000000' || (i % 900), -6), "
             "'予約者 ' || (i % 900), CASE WHEN i % 4 = 0 THEN '「続き」を\"早く\"' ELSE "
             "'メモ ' || i END FROM n");
}

struct GridSide {
    engine::TDBSession session{"XBENCH"};
    engine::TDBDatabase database{"AAA", session};
    engine::TDBQuery query;
    kashidashi::TDataSource source{&query};
    kashidashi::TLibXGrid grid;

    GridSide(const std::string& folder, const std::string& csv) {
        using engine::FieldType;
        database.SetDirectory(folder);
        query.SetSessionName("XBENCH");
        query.SetDatabaseName("AAA");
        query.SQL().SetText(kSelect);
        kashidashi::AddFields(query, {{"Book_ID", FieldType::Integer, 0, "図書番号", "0000000"},
                                      {"yoyaku_No", FieldType::Integer, 0, "予約番号"},
                                      {"Name_ID", FieldType::String, 6, "利用者番号"},
                                      {"Name", FieldType::String, 20, "予約者"},
                                      {"Memo", FieldType::String, 40, "メモ"}});
        for (const char* field : {"Book_ID", "Name_ID", "Name", "Memo"}) grid.AddColumn(field);
        grid.CsvFileName = csv;
        grid.resize(640, 480);
        grid.show();
    }
    ~GridSide() { grid.SetDataSource(nullptr); }
    int Export() {
        query.Close();
        query.Open();
        grid.SetDataSource(&source);
        return grid.CopyCsvFile();
    }
};

std::string Field(const unsigned char* text) {
    std::string s = text ? reinterpret_cast<const char*>(text) : "";
    for (size_t at = s.find('"'); at != std::string::npos; at = s.find('"', at + 2))
        s.insert(at, 1, '"');
    return s;
}

std::string ToCp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string in = utf8, out(utf8.size() * 2 + 16, '\0');
    char *src = in.data(), *dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

// The same lines from raw SQLite, written as the same bytes.
void RawExport(const std::string& folder, const std::string& csv) {
    RawDb raw(folder);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw.db(), kSelect, -1, &stmt, nullptr);
    std::string text = "\"図書番号\",\"利用者番号\",\"予約者\",\"メモ\"\r\n";
    char number[16];
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::snprintf(number, sizeof number, "%07lld",
                      static_cast<long long>(sqlite3_column_int64(stmt, 0)));
        text += "\"" + std::string(number) + "\",\"" + Field(sqlite3_column_text(stmt, 2)) +
                "\",\"" + Field(sqlite3_column_text(stmt, 3)) + "\",\"" +
                Field(sqlite3_column_text(stmt, 4)) + "\"\r\n";
    }
    sqlite3_finalize(stmt);
    std::ofstream(csv, std::ios::binary) << ToCp932(text);
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

void RunExportCases() {
    const std::string folder = ScratchFolder("export");
    MakeReservations(folder);
    const std::string gridCsv = folder + "/grid.csv", rawCsv = folder + "/raw.csv";
    GridSide side(folder, gridCsv);
    int lines = side.Export();
    RawExport(folder, rawCsv);
    if (lines != kReservations + 1 || Contents(gridCsv) != Contents(rawCsv))
        throw std::runtime_error("csv_export: the grid's file differs from the raw one");
    ReportInStep(
        "csv_export", kTurns, [&](int) { return Seconds([&] { side.Export(); }); },
        [&](int) { return Seconds([&] { RawExport(folder, rawCsv); }); });
}

}  // namespace bench
