// The print of a statistics view: its table laid out from the layout
// stats_table (reports/layouts) under the view's title, the period and the
// school, with its bar chart drawn on the first page as vectors (bars,
// axes, grid lines and labels as primitives of the page), so that the
// preview, the printer and the PDF draw it sharp at any size.
#pragma once

#include <string>

#include "library/stats.h"
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

// The chart's label of a row (the rank for the Title view) and its colours.
std::string ChartLabel(const StatsTable& table, size_t row);
inline constexpr uint32_t kBarColor = 0xff4472c4;
inline constexpr uint32_t kSecondBarColor = 0xffed7d31;

}  // namespace kashidashi::library
