#include "library/stats_print.h"

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

std::string KeyText(const StatsTable& table, size_t i) {
    const auto& row = table.rows[i];
    if (table.view != StatsView::Title) return row.key;
    return std::to_string(i + 1) + "　" + row.key + "（" + row.isbn + "）";
}

std::string TotalText(const StatsTable& table) {
    int64_t count = 0, users = 0;
    for (const auto& row : table.rows) count += row.count, users += row.users;
    if (table.view == StatsView::Users)
        return "借りた人 " + std::to_string(count) + " 人／利用者 " + std::to_string(users) + " 人";
    if (table.view == StatsView::Title)
        return "上位 " + std::to_string(table.rows.size()) + " 書名";
    return "貸出数の合計　" + std::to_string(table.loans);
}

void Prepare(reports::Layout& layout, const StatsTable& table, const std::string& period) {
    const auto titles = StatsTitles(table.view);
    layout.FindObject("Memo_title")->text = "貸出の統計　" + StatsViewTitle(table.view);
    layout.FindObject("Memo_hani")->text = period;
    layout.FindObject("Memo_total")->text = TotalText(table);
    layout.FindObject("Head_key")->text = titles[0];
    layout.FindObject("Head_count")->text = titles[1];
    const bool users = table.view == StatsView::Users;
    if (users) layout.FindObject("Head_users")->text = titles[2];
    layout.FindObject("Head_users")->visible = users;
    layout.FindObject("Row_users")->visible = users;
}

}  // namespace

reports::PreparedReport StatsReport(const StatsTable& table, const std::string& period,
                                    reports::ReportSource& head) {
    auto layout = reports::LoadLayout(QStringLiteral("stats_table"));
    Prepare(layout, table, period);
    TRowsDataSet data("rptDBDataset1", {{"key", {FieldType::String, 200}},
                                        {"count", {FieldType::Integer}},
                                        {"users", {FieldType::Integer}}});
    std::vector<std::vector<Value>> rows;
    for (size_t i = 0; i < table.rows.size(); ++i)
        rows.push_back(
            {Value(KeyText(table, i)), Value(table.rows[i].count), Value(table.rows[i].users)});
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto report = reports::RenderReport(layout, {source.get(), &head});
    if (!report.pages.empty()) DrawStatsChart(report.pages.front(), table, kChartArea);
    return report;
}

}  // namespace kashidashi::library
