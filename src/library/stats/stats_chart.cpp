// The bar chart of a statistics view as page primitives (stats_print.h).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "library/stats/stats_print.h"

namespace kashidashi::library {
namespace {

using reports::FontStyle;
using reports::Page;
using reports::RectMm;

constexpr double kAxisLeft = 14, kAxisBottom = 9, kLegendTop = 6;
constexpr uint32_t kGridColor = 0xffbfbfbf;

// A round top for the value axis and its step: 1, 2 or 5 times a power of ten.
std::pair<double, double> AxisScale(double largest) {
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

double Largest(const std::vector<ChartBar>& bars) {
    double largest = 0;
    for (const auto& bar : bars) largest = std::max({largest, bar.value, bar.second});
    return largest;
}

// "1年2組" -> "1-2"; another name as it is.
std::string CompactClass(const std::string& name) {
    const size_t year = name.find("年"), group = name.find("組");
    if (year == std::string::npos || year == 0 || group != name.size() - 3 || group <= year + 3)
        return name;
    return name.substr(0, year) + "-" + name.substr(year + 3, group - year - 3);
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

// Grid lines with their values, and the axis; the value at the top. Counts
// (`whole`) step by whole numbers.
double ValueAxis(Page& page, const RectMm& plot, double largest, bool whole, double labelsLeft,
                 const reports::TextMetrics& metrics) {
    auto [top, step] = AxisScale(whole ? std::max(largest, 5.0) : largest);
    for (double value = 0; value <= top + step / 2; value += step) {
        const double y = plot.Bottom() - plot.h * value / top;
        Line(page, plot.x, y, plot.Right(), y, value == 0 ? 0.3 : 0.1,
             value == 0 ? 0xff000000 : kGridColor);
        char label[32];
        std::snprintf(label, sizeof label, step < 1 ? "%.1f" : "%.0f", value);
        Text(page, label, {labelsLeft, y - 2, kAxisLeft - 1.5, 4}, 6.5, 1, metrics);
    }
    Line(page, plot.x, plot.y, plot.x, plot.Bottom(), 0.3, 0xff000000);
    return top;
}

// The bar (or the two bars) of one row inside its slot, each with its value above.
void Bars(Page& page, const StatsTable& table, const ChartBar& values, const RectMm& slot,
          double top, const reports::TextMetrics& metrics) {
    const int bars = TwoBars(table) ? 2 : 1;
    const double bar = slot.w * (bars == 2 ? 0.35 : 0.6);
    const double left = slot.x + (slot.w - bar * bars) / 2;
    const double both[] = {values.value, values.second};
    for (int s = 0; s < bars; ++s) {
        const double h = slot.h * both[s] / top, x = left + bar * s;
        page.fills.push_back({{x, slot.Bottom() - h, bar, h}, s ? kSecondBarColor : kBarColor});
        Text(page, BarValueText(table, both[s]), {x - 2, slot.Bottom() - h - 3.5, bar + 4, 3.5},
             5.5, 0, metrics);
    }
}

// The largest size up to 7 points at which every label fits its slot.
double LabelSize(const std::vector<ChartBar>& bars, double slot,
                 const reports::TextMetrics& metrics) {
    double size = 7;
    for (const auto& bar : bars) {
        const double width = metrics.WidthMm(QString::fromStdString(bar.label), {"メイリオ", 7});
        if (width > slot * 0.95) size = std::min(size, 7 * slot * 0.95 / width);
    }
    return std::max(size, 3.5);
}

}  // namespace

bool TwoBars(const StatsTable& table) {
    return table.view == StatsView::Users;
}

std::string BarValueText(const StatsTable& table, double value) {
    char text[32];
    const bool decimal =
        table.view == StatsView::PerPupilClass || table.view == StatsView::PerPupilGrade;
    std::snprintf(text, sizeof text, decimal ? "%.1f" : "%.0f", value);
    return text;
}

std::vector<ChartBar> ChartBars(const StatsTable& table) {
    std::vector<ChartBar> bars;
    const bool readers =
        table.view == StatsView::ReadersClass || table.view == StatsView::ReadersGrade;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const auto& row = table.rows[i];
        if (readers && i > 0 && table.rows[i - 1].key == row.key) continue;  // the first reader
        ChartBar bar{row.key, double(row.count), double(row.users)};
        // The place, not the rank: tied titles need bars of their own labels.
        if (table.view == StatsView::Title) bar.label = std::to_string(i + 1);
        if (table.view == StatsView::Month)  // "2025/04" -> "4月"
            bar.label = std::to_string(std::stoi(row.key.substr(5))) + "月";
        if (table.view == StatsView::Ndc)  // "4 自然科学" -> "4", 分類なし -> なし
            bar.label = row.key[0] >= '0' && row.key[0] <= '9'
                            ? row.key.substr(0, row.key.find(' '))
                        : row.key == "分類なし" ? std::string("なし")
                                                : row.key;
        if (table.view == StatsView::PerPupilClass || table.view == StatsView::PerPupilGrade)
            bar.value = row.rate;
        bars.push_back(std::move(bar));
    }
    if (bars.size() > kCompactBars)
        for (auto& bar : bars) bar.label = CompactClass(bar.label);
    return bars;
}

void DrawStatsChart(Page& page, const StatsTable& table, const RectMm& area,
                    const reports::TextMetrics& metrics) {
    const RectMm plot{area.x + kAxisLeft, area.y + kLegendTop, area.w - kAxisLeft,
                      area.h - kAxisBottom - kLegendTop};
    const auto bars = ChartBars(table);
    const bool whole =
        table.view != StatsView::PerPupilClass && table.view != StatsView::PerPupilGrade;
    const double top = ValueAxis(page, plot, Largest(bars), whole, area.x, metrics);
    if (TwoBars(table)) Legend(page, area, metrics);
    const double slot = plot.w / std::max<size_t>(bars.size(), 1);
    const double labelSize = LabelSize(bars, slot, metrics);
    for (size_t i = 0; i < bars.size(); ++i) {
        Bars(page, table, bars[i], {plot.x + slot * i, plot.y, slot, plot.h}, top, metrics);
        Text(page, bars[i].label, {plot.x + slot * i, plot.Bottom() + 0.5, slot, 5}, labelSize, 0,
             metrics);
    }
}

}  // namespace kashidashi::library
