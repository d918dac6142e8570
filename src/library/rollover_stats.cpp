#include "library/rollover_stats.h"

#include <QString>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/common/dates.h"
#include "library/stats.h"
#include "library/stats_print.h"
#include "platform/cp932.h"
#include "reports/report_output.h"

namespace kashidashi::library {
namespace {

namespace fs = std::filesystem;

const char* const kViews[] = {"month", "grade", "class", "ndc", "title", "users"};

// A head without rows' values, for a save without the desk's settings.
class NoHead : public reports::ReportSource {
  public:
    const std::string& Name() const override { return name_; }
    void Open() override {}
    void First() override {}
    void Next() override { eof_ = true; }
    bool Eof() const override { return eof_; }
    void Close() override {}
    reports::FieldReading Field(std::string_view) const override { return {}; }

  private:
    std::string name_ = "rptHead";
    bool eof_ = false;
};

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + CsvField(fields[i]);
    return line + "\r\n";
}

std::string CsvText(const StatsTable& table) {
    std::string text = CsvLine(StatsTitles(table.view));
    for (size_t i = 0; i < table.rows.size(); ++i) text += CsvLine(StatsTexts(table, i));
    return platform::ToCp932(text);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("統計のファイル " + path.string() + " を書けません。");
}

}  // namespace

int EndingSchoolYear(engine::Date today) {
    const auto day = engine::ToCivil(today);
    return day.month <= 5 ? day.year - 1 : day.year;
}

std::string YearStatsFolder(const std::string& backupFile) {
    fs::path path(backupFile);
    return (path.parent_path() / (path.stem().string() + "-統計")).string();
}

SavedStats SaveYearStats(engine::storage::Connection& connection, const std::string& backupFile,
                         engine::Date today, reports::ReportSource* head) {
    SavedStats saved{YearStatsFolder(backupFile), EndingSchoolYear(today), {}};
    std::error_code error;
    fs::create_directories(saved.folder, error);
    if (error) throw std::runtime_error("統計のフォルダ " + saved.folder + " を作れません。");
    auto [from, to] = SchoolYear(saved.year);
    const std::string period = std::to_string(saved.year) + "年度（" + engine::FormatDate(from) +
                               " ～ " + engine::FormatDate(to) + "）";
    NoHead none;
    for (const char* name : kViews) {
        const StatsView view = *StatsViewNamed(name);
        const StatsTable table = CountLoans(connection, from, to, view);
        const std::string stem = std::to_string(saved.year) + "年度_" + StatsViewTitle(view);
        const fs::path csv = fs::path(saved.folder) / (stem + ".csv");
        WriteFile(csv, CsvText(table));
        const fs::path pdf = fs::path(saved.folder) / (stem + ".pdf");
        auto report = StatsReport(table, period, head ? *head : none);
        if (!reports::WritePdf(report, QString::fromStdString(pdf.string())))
            throw std::runtime_error("統計のファイル " + pdf.string() + " を書けません。");
        saved.files.push_back(csv.string());
        saved.files.push_back(pdf.string());
    }
    return saved;
}

}  // namespace kashidashi::library
