// The bar chart of a statistics view as page primitives (stats_print.h).
#include <algorithm>
#include <cmath>

#include "library/stats_print.h"

namespace kashidashi::library {
namespace {

using reports::FontStyle;
using reports::Page;
using reports::RectMm;

constexpr double kAxisLeft = 14, kAxisBottom = 9, kLegendTop = 6;
constexpr uint32_t kGridColor = 0xffbfbfbf;

// A round top for the value axis and its step: 1, 2 or 5 times a power of ten.
std::pair<double, double> AxisScale(int64_t largest) {
    if (largest <= 0) return {5, 1};
    double step = std::pow(10.0, std::floor(std::log10(largest / 5.0 + 1e-9)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (largest <= factor * step * 5) return {factor * step * 5, factor * step};
    return {step * 50, step * 10};
}

void Text(Page& page, const std::string& text, const RectMm& cell, double size, int align,
          const reports::TextMetrics& metrics) {
    FontStyle font{"メイリオ", size};
    const double width = metrics.WidthMm(QString::fromStdString(text), font);
    double x = align < 0    ? cell.x
               : align == 0 ? cell.x + (cell.w - width) / 2
                            : cell.Right() - width;
    x = std::max(x, cell.x);
    const double baseline = cell.y + (cell.h + reports::EmMm(font) * 0.8) / 2;
    page.texts.push_back({"Chart", cell, font, 0xff000000, {{x, baseline, text}}});
}

void Line(Page& page, double x1, double y1, double x2, double y2, double width, uint32_t color) {
    page.lines.push_back({x1, y1, x2, y2, width, color});
}

int64_t Largest(const StatsTable& table) {
    int64_t largest = 0;
    for (const auto& row : table.rows) largest = std::max({largest, row.count, row.users});
    return largest;
}

void Legend(Page& page, const RectMm& area, const reports::TextMetrics& metrics) {
    const char* names[] = {"借りた人数", "利用者数"};
    const uint32_t colors[] = {kBarColor, kSecondBarColor};
    double x = area.Right() - 60;
    for (int i = 0; i < 2; ++i, x += 30) {
        page.fills.push_back({{x, area.y + 1.5, 3, 3}, colors[i]});
        Text(page, names[i], {x + 4, area.y, 25, 6}, 7, -1, metrics);
    }
}

// Grid lines with their values, and the axis; the value at the top.
double ValueAxis(Page& page, const RectMm& plot, int64_t largest, double labelsLeft,
                 const reports::TextMetrics& metrics) {
    auto [top, step] = AxisScale(largest);
    for (double value = 0; value <= top + step / 2; value += step) {
        const double y = plot.Bottom() - plot.h * value / top;
        Line(page, plot.x, y, plot.Right(), y, value == 0 ? 0.3 : 0.1,
             value == 0 ? 0xff000000 : kGridColor);
        Text(page, std::to_string(static_cast<int64_t>(value)),
             {labelsLeft, y - 2, kAxisLeft - 1.5, 4}, 6.5, 1, metrics);
    }
    Line(page, plot.x, plot.y, plot.x, plot.Bottom(), 0.3, 0xff000000);
    return top;
}

// The bar (or the two bars) of one row inside its slot, each with its value above.
void Bars(Page& page, const StatsTable& table, size_t i, const RectMm& slot, double top,
          const reports::TextMetrics& metrics) {
    const int bars = table.view == StatsView::Users ? 2 : 1;
    const double bar = slot.w * (bars == 2 ? 0.35 : 0.6);
    const double left = slot.x + (slot.w - bar * bars) / 2;
    const int64_t values[] = {table.rows[i].count, table.rows[i].users};
    for (int s = 0; s < bars; ++s) {
        const double h = slot.h * values[s] / top, x = left + bar * s;
        page.fills.push_back({{x, slot.Bottom() - h, bar, h}, s ? kSecondBarColor : kBarColor});
        Text(page, std::to_string(values[s]), {x - 2, slot.Bottom() - h - 3.5, bar + 4, 3.5}, 5.5,
             0, metrics);
    }
}

}  // namespace

std::string ChartLabel(const StatsTable& table, size_t row) {
    if (table.view == StatsView::Title) return std::to_string(row + 1);
    if (table.view == StatsView::Month)  // "2025/04" -> "4月"
        return std::to_string(std::stoi(table.rows[row].key.substr(5))) + "月";
    if (table.view == StatsView::Ndc)
        return table.rows[row].key.substr(0, table.rows[row].key.find(' '));
    return table.rows[row].key;
}

void DrawStatsChart(Page& page, const StatsTable& table, const RectMm& area,
                    const reports::TextMetrics& metrics) {
    const RectMm plot{area.x + kAxisLeft, area.y + kLegendTop, area.w - kAxisLeft,
                      area.h - kAxisBottom - kLegendTop};
    const double top = ValueAxis(page, plot, Largest(table), area.x, metrics);
    if (table.view == StatsView::Users) Legend(page, area, metrics);
    const double slot = plot.w / std::max<size_t>(table.rows.size(), 1);
    const double labelSize = table.rows.size() > 14 ? 5.5 : 7;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        Bars(page, table, i, {plot.x + slot * i, plot.y, slot, plot.h}, top, metrics);
        Text(page, ChartLabel(table, i), {plot.x + slot * i, plot.Bottom() + 0.5, slot, 5},
             labelSize, 0, metrics);
    }
}

}  // namespace kashidashi::library
