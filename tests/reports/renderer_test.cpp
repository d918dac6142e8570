// The renderer on small fixtures: band order, rows that grow to their
// longest text, page breaks, the expressions' display rules and counts.
#include <gtest/gtest.h>

#include "reports/fixture_source.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::reports {
namespace {

using namespace testing;

// A layout with every band, each holding a cell named after it.
Layout AllBands() {
    return ParseLayout(R"({"name": "bands", "margins": [10, 10, 10, 10],
      "font": {"name": "ＭＳ 明朝", "size": 9},
      "bands": [
        {"kind": "PageFooter", "height": 6, "objects": [{"name": "footer", "pos": [0, 0, 20, 5], "text": "[Page#]"}]},
        {"kind": "ReportSummary", "height": 6, "objects": [{"name": "summary", "pos": [0, 0, 60, 5], "text": "件数[COUNT(MasterData1)]"}]},
        {"kind": "MasterData", "name": "MasterData1", "stretch": true, "dataSet": "rows", "objects": [
          {"name": "id", "pos": [0, 0, 20, 5], "dataSet": "rows", "field": "id", "stretchToRow": true, "frame": {"sides": "LTRB", "width": 0.1}},
          {"name": "title", "pos": [20, 0, 40, 5], "text": "[rows.\"title\"]", "stretchToRow": true, "frame": {"sides": "LTRB", "width": 0.1}}]},
        {"kind": "ColumnHeader", "height": 5, "objects": [{"name": "columns", "pos": [0, 0, 60, 5], "text": "番号 書名"}]},
        {"kind": "PageHeader", "height": 5, "objects": [{"name": "header", "pos": [0, 0, 60, 5], "text": "ページ見出し"}]},
        {"kind": "ReportTitle", "height": 10, "objects": [{"name": "title0", "pos": [0, 0, 60, 8], "text": "題名"}]}]})");
}

std::vector<Row> Rows(int n, const std::string& title = "本") {
    std::vector<Row> rows;
    for (int i = 1; i <= n; ++i) {
        char display[16];
        std::snprintf(display, sizeof display, "%07d", i);
        rows.push_back({{"id", Int(i, display)}, {"title", Text(title)}});
    }
    return rows;
}

double TopOf(const Page& page, const std::string& object, size_t nth = 0) {
    return TextsOf(page, object).at(nth)->clip.y;
}

TEST(Renderer, BandsPrintInTheirOrderWhateverTheFileOrder) {
    Layout layout = AllBands();
    FixtureSource rows("rows", Rows(2));
    PreparedReport report = RenderReport(layout, {&rows});
    ASSERT_EQ(report.pages.size(), 1u);
    const Page& page = report.pages[0];
    std::vector<double> tops = {TopOf(page, "title0"),  TopOf(page, "header"),
                                TopOf(page, "columns"), TopOf(page, "id", 0),
                                TopOf(page, "id", 1),   TopOf(page, "summary")};
    for (size_t i = 1; i < tops.size(); ++i) EXPECT_LT(tops[i - 1], tops[i]) << i;
    EXPECT_DOUBLE_EQ(TopOf(page, "title0"), 10.0);
    EXPECT_DOUBLE_EQ(TopOf(page, "header"), 20.0);
    EXPECT_DOUBLE_EQ(TopOf(page, "columns"), 25.0);
    EXPECT_DOUBLE_EQ(TopOf(page, "id", 0), 30.0);
    EXPECT_DOUBLE_EQ(TopOf(page, "footer"), 297.0 - 10 - 6);
    EXPECT_EQ(TextsOf(page, "summary")[0]->Text(), "件数2");
}

TEST(Renderer, ALongTitleWrapsAndTheWholeRowGrowsToItsHeight) {
    Layout layout = AllBands();
    std::vector<Row> rows = Rows(2);
    rows[0]["title"] = Text("とても長い書名がこのセルの幅には収まらないので何行かに折り返される");
    FixtureSource source("rows", rows);
    const Page page = RenderReport(layout, {&source}).pages[0];
    const PageText* id = TextsOf(page, "id")[0];
    const PageText* title = TextsOf(page, "title")[0];
    EXPECT_GT(title->lines.size(), 1u);
    EXPECT_GT(title->clip.h, 5.0);
    EXPECT_DOUBLE_EQ(id->clip.h, title->clip.h);
    EXPECT_DOUBLE_EQ(TopOf(page, "id", 1), id->clip.Bottom());
    for (const TextLine& line : title->lines) {
        EXPECT_GE(line.x, title->clip.x);
        EXPECT_LE(line.x + FontMetrics().WidthMm(QString::fromStdString(line.text), title->font),
                  title->clip.Right() + 1e-9);
    }
    EXPECT_DOUBLE_EQ(TextsOf(page, "title")[1]->clip.h, 5.0);
}

TEST(Renderer, RowsBreakIntoPagesWithThePageHeaderOnEveryPage) {
    Layout layout = AllBands();
    FixtureSource rows("rows", Rows(120));
    PreparedReport report = RenderReport(layout, {&rows});
    ASSERT_GE(report.pages.size(), 3u);
    size_t printed = 0;
    for (size_t p = 0; p < report.pages.size(); ++p) {
        const Page& page = report.pages[p];
        EXPECT_EQ(TextsOf(page, "header").size(), 1u) << p;
        EXPECT_EQ(TextsOf(page, "title0").size(), p == 0 ? 1u : 0u) << p;
        EXPECT_EQ(TextsOf(page, "columns").size(), p == 0 ? 1u : 0u) << p;
        EXPECT_EQ(TextsOf(page, "footer")[0]->Text(), std::to_string(p + 1));
        EXPECT_DOUBLE_EQ(TopOf(page, "header"), p == 0 ? 20.0 : 10.0);
        for (const PageText* id : TextsOf(page, "id"))
            EXPECT_LE(id->clip.Bottom(), 297.0 - 16 + 1e-9);
        printed += TextsOf(page, "id").size();
    }
    EXPECT_EQ(printed, 120u);
    EXPECT_EQ(TextsOf(report.pages.back(), "summary")[0]->Text(), "件数120");
    EXPECT_EQ(TextsOf(report.pages[1], "id")[0]->Text(),
              "00000" + std::to_string(TextsOf(report.pages[0], "id").size() + 1));
}

TEST(Renderer, NoRowsStillPrintsTitleHeadersAndACountOfZero) {
    Layout layout = AllBands();
    FixtureSource rows("rows", {});
    PreparedReport report = RenderReport(layout, {&rows});
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(TextsOf(report.pages[0], "columns").size(), 1u);
    EXPECT_EQ(TextsOf(report.pages[0], "summary")[0]->Text(), "件数0");
}

TEST(Renderer, ASourceThatFailsToOpenPreparesNothingAndIsClosed) {
    Layout layout = AllBands();
    FixtureSource rows("rows", Rows(1));
    rows.failOpen = "テーブルが開けません";
    EXPECT_THROW(RenderReport(layout, {&rows}), std::runtime_error);
    EXPECT_TRUE(rows.closed);
}

TEST(Renderer, ObjectsOnThePageStandFromThePrintableArea) {
    Layout layout = ParseLayout(R"({"margins": [12, 10, 15, 10], "objects": [
        {"name": "a", "pos": [10, 20, 30, 5], "text": "x"},
        {"kind": "rect", "name": "r", "pos": [1, 2, 3, 4], "frame": {"sides": "LTRB", "width": 10, "color": "#0000ff"}}]})");
    PreparedReport report = RenderReport(layout, {});
    ASSERT_EQ(report.pages.size(), 1u);
    EXPECT_EQ(TextsOf(report.pages[0], "a")[0]->clip, (RectMm{22, 35, 30, 5}));
    ASSERT_EQ(report.pages[0].lines.size(), 4u);
    for (const PageLine& line : report.pages[0].lines) {
        EXPECT_NEAR(line.width, 2.6458, 1e-3);
        EXPECT_EQ(line.color, 0xff0000ffu);
    }
}

TEST(Renderer, FramesDrawTheirSidesWithTheirOwnWidths) {
    Layout layout = ParseLayout(R"({"margins": [0, 0, 0, 0], "objects": [
        {"name": "a", "pos": [10, 10, 20, 5], "text": "x", "frame": {"sides": "LTB", "width": 1.5, "side": "L", "sideWidth": 0.1}}]})");
    const Page page = RenderReport(layout, {}).pages[0];
    ASSERT_EQ(page.lines.size(), 3u);
    std::map<std::string, double> widths;
    for (const PageLine& l : page.lines)
        widths[l.x1 == l.x2 ? (l.x1 == 10 ? "L" : "R") : (l.y1 == 10 ? "T" : "B")] = l.width;
    EXPECT_EQ(widths.count("R"), 0u);
    EXPECT_NEAR(widths["L"], 0.1 * 25.4 / 96, 1e-9);
    EXPECT_NEAR(widths["T"], 1.5 * 25.4 / 96, 1e-9);
    EXPECT_NEAR(widths["B"], 1.5 * 25.4 / 96, 1e-9);
}

}  // namespace
}  // namespace kashidashi::reports
