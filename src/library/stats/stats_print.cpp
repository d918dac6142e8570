#include "library/stats/stats_print.h"

#include <cstdio>

#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::library {
namespace {

using engine::FieldType;
using engine::Value;

// Where the chart stands on the first page: under the title, the school and
// the period, inside the report title band (margins 15 and 10, band 130 high).
constexpr reports::RectMm kChartArea{15, 10 + 18, 180, 108};

bool FourColumns(StatsView view) {
    return view == StatsView::Users || view == StatsView::PerPupilClass ||
           view == StatsView::PerPupilGrade;
}

bool Readers(StatsView view) {
    return view == StatsView::ReadersClass || view == StatsView::ReadersGrade;
}

std::string KeyText(const StatsTable& table, size_t i) {
    const auto texts = StatsTexts(table, i);
    if (table.view == StatsView::Title) return texts[0] + "　" + texts[1] + "（" + texts[2] + "）";
    if (Readers(table.view)) return texts[0] + "　" + texts[1] + "位　" + texts[2];
    return texts[0];
}

std::string TotalText(const StatsTable& table) {
    int64_t count = 0, users = 0;
    for (const auto& row : table.rows) count += row.count, users += row.users;
    const std::string loans = "貸出数の合計　" + std::to_string(table.loans);
    if (table.view == StatsView::Users) {
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.1f", users ? 100.0 * count / users : 0.0);
        return "借りた人 " + std::to_string(count) + " 人／利用者 " + std::to_string(users) +
               " 人（" + rate + "%）";
    }
    if (table.view == StatsView::Title)
        return loans + "　上位 " + std::to_string(table.rows.size()) + " 書名";
    return loans;
}

void Prepare(reports::Layout& layout, const StatsTable& table, const std::string& period) {
    const auto titles = StatsTitles(table.view);
    layout.FindObject("Memo_title")->text = "貸出の統計　" + StatsViewTitle(table.view);
    layout.FindObject("Memo_hani")->text = period;
    layout.FindObject("Memo_total")->text = TotalText(table);
    const bool four = FourColumns(table.view);
    layout.FindObject("Head_key")->text = titles[0];
    layout.FindObject("Head_count")->text = four || titles.size() == 2 ? titles[1] : titles.back();
    for (const char* name : {"Head_users", "Row_users", "Head_rate", "Row_rate"})
        layout.FindObject(name)->visible = four;
    if (four) {
        layout.FindObject("Head_users")->text = titles[2];
        layout.FindObject("Head_rate")->text = titles[3];
    }
}

}  // namespace

reports::PreparedReport StatsReport(const StatsTable& table, const std::string& period,
                                    reports::ReportSource& head) {
    auto layout = reports::LoadLayout(QStringLiteral("stats_table"));
    Prepare(layout, table, period);
    TRowsDataSet data("rptDBDataset1", {{"key", {FieldType::String, 200}},
                                        {"count", {FieldType::Integer}},
                                        {"users", {FieldType::Integer}},
                                        {"rate", {FieldType::String, 20}}});
    std::vector<std::vector<Value>> rows;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const auto texts = StatsTexts(table, i);
        rows.push_back({Value(KeyText(table, i)), Value(table.rows[i].count),
                        Value(table.rows[i].users),
                        Value(FourColumns(table.view) ? texts[3] : std::string())});
    }
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto report = reports::RenderReport(layout, {source.get(), &head});
    if (!report.pages.empty()) DrawStatsChart(report.pages.front(), table, kChartArea);
    return report;
}

}  // namespace kashidashi::library
