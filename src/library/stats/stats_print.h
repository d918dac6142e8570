// The print of a statistics view: its table laid out from the layout
// stats_table (reports/layouts) under the view's title, the period and the
// school, with its bar chart drawn on the first page as vectors (bars,
// axes, grid lines and labels as primitives of the page), so that the
// preview, the printer and the PDF draw it sharp at any size.
#pragma once

#include <string>

#include "library/stats/stats.h"
#include "reports/fonts.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::library {

// `period` as shown ("2024年度（2024/04/01 ～ 2025/03/31）"); `head` the
// school's row (rptHead). Throws what the data throws.
reports::PreparedReport StatsReport(const StatsTable& table, const std::string& period,
                                    reports::ReportSource& head);

// The bar chart of the view inside `area` of `page`: one bar per row (two
// for the Users view: borrowers and users), the counts above the bars, a
// value axis with round steps, the keys under the bars (the ranks for the
// Title view).
void DrawStatsChart(reports::Page& page, const StatsTable& table, const reports::RectMm& area,
                    const reports::TextMetrics& metrics = reports::FontMetrics());

// One bar (or pair of bars) of the chart: its label under it and its
// values. Month "4月"; NDC "4" (分類なし "なし"); Title its place 1, 2, 3 …
// (also when tied: the chart needs labels of their own); Readers the group
// (the count of its first reader); PerPupil the loans per user. A class
// named "1年2組" is "1-2" when the chart has more than kCompactBars bars,
// so that every label fits under its bar.
struct ChartBar {
    std::string label;
    double value = 0, second = 0;  // second: Users, the users of the class
};
std::vector<ChartBar> ChartBars(const StatsTable& table);
// Whether the view draws two bars a row (borrowers and users).
bool TwoBars(const StatsTable& table);
// A value above its bar: whole numbers, or one decimal for PerPupil.
std::string BarValueText(const StatsTable& table, double value);
inline constexpr size_t kCompactBars = 12;
inline constexpr uint32_t kBarColor = 0xff4472c4;
inline constexpr uint32_t kSecondBarColor = 0xffed7d31;

}  // namespace kashidashi::library
