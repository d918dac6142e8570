#include "library/stats/stats_save.h"

#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "library/rows_dataset.h"
#include "library/stats/stats_print.h"
#include "platform/cp932.h"
#include "reports/report_output.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& field) {
    std::string text = "\"";
    for (char c : field) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + Quoted(fields[i]);
    return line + "\r\n";
}

std::runtime_error NotWritten(const fs::path& path) {
    return std::runtime_error("ファイル " + path.string() + " に書き込めません。");
}

// The school's row of the prints (rptHead): its name alone.
std::unique_ptr<reports::ReportSource> SchoolHead(TRowsDataSet& rows, const std::string& school) {
    rows.SetRows({{engine::Value(school)}});
    return reports::DataSetSource("rptHead", rows, true);
}

}  // namespace

std::string CsvText(const std::vector<std::vector<std::string>>& lines) {
    std::string text;
    for (const auto& line : lines) text += CsvLine(line);
    return text;
}

std::string StatsCsv(const StatsTable& table) {
    std::string text = CsvLine(StatsTitles(table.view));
    for (size_t i = 0; i < table.rows.size(); ++i) text += CsvLine(StatsTexts(table, i));
    return text;
}

void WriteStatsCsv(const StatsTable& table, const std::string& path) {
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    const std::string bytes = platform::ToCp932(StatsCsv(table));
    if (!out || !out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush())
        throw NotWritten(path);
}

std::vector<std::string> SaveAllStatsViews(engine::storage::Connection& connection,
                                           engine::Date from, engine::Date to,
                                           const std::string& period, const std::string& school,
                                           const std::string& folder) {
    std::error_code failed;
    fs::create_directories(fs::path(folder), failed);
    if (!fs::is_directory(fs::path(folder))) throw NotWritten(folder);
    std::vector<std::string> written;
    int number = 0;
    for (StatsView view : AllStatsViews()) {
        const StatsTable table = CountLoans(connection, from, to, view);
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%02d_", ++number);
        const fs::path base = fs::path(folder) / (prefix + StatsViewTitle(view));
        const std::string csv = base.string() + ".csv", pdf = base.string() + ".pdf";
        WriteStatsCsv(table, csv);
        written.push_back(csv);
        TRowsDataSet head("rptHead", {{"meisyou", {engine::FieldType::String, 100}}});
        auto source = SchoolHead(head, school);
        if (!reports::WritePdf(StatsReport(table, period, *source), QString::fromStdString(pdf)))
            throw NotWritten(pdf);
        written.push_back(pdf);
    }
    return written;
}

}  // namespace kashidashi::library
