// 統計 opened from 図書館の管理, offscreen, on the small school: the counts
// of a school year in the grid and the chart, the view changed, and the
// print with the chart drawn as vectors (bars as filled rectangles in the
// pages, no picture in the PDF). With KASHIDASHI_SCREENSHOTS naming a
// folder, a picture of the window for the project's documents:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs library_tests
//       --gtest_filter='StatsWindow*'
#include <QComboBox>
#include <QSpinBox>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <sstream>
#include "data/pin_constants.h"
#include "grid/LibXGrid.h"
#include "library/U_Toukei.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"
#include "platform/cp932.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;

class StatsWindowTest : public YearFixture {
  protected:
    void StartDesk() {
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    void InStatsWindow(std::function<void(kashidashi::TToukei&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button3"); })
            .Drive("kashidashi::TToukei", [drive](QDialog& window) {
                auto& stats = static_cast<kashidashi::TToukei&>(window);
                stats.findChild<QSpinBox*>("SpinBox1")->setValue(2025);
                Click(stats, "Button1");
                drive(stats);
                Click(stats, "BitBtn1");
            });
        Click(Main(), "Button3");
        EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }
    static int BarsIn(QChartView& view) {
        int bars = 0;
        for (auto* series : view.chart()->series())
            for (auto* set : static_cast<QBarSeries*>(series)->barSets()) bars += set->count();
        return bars;
    }
};

TEST_F(StatsWindowTest, TheSchoolYearInTheGridAndTheChartAndItsPrintInVectors) {
    StartDesk();
    int monthBars = 0, classBars = 0;
    int64_t loans = 0;
    size_t filled = 0;
    std::string pdf = (root / "stats.pdf").string();
    bool written = false;
    InStatsWindow([&](kashidashi::TToukei& window) {
        loans = window.Table().loans;
        monthBars = BarsIn(window.Chart());
        auto& views = *window.findChild<QComboBox*>("ComboBox1");
        views.setCurrentIndex(views.findText(QStringLiteral("利用者の割合")));
        classBars = BarsIn(window.Chart());
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            auto& shown = static_cast<kashidashi::reports::TPreview&>(preview);
            filled = shown.Report().pages.front().fills.size();
            written = shown.ExportPdf(QString::fromStdString(pdf));
        });
        Click(window, "Button2");
    });
    EXPECT_EQ(loans, 6);          // every loan of the fixture was lent in May 2025
    EXPECT_EQ(monthBars, 12);     // April to March
    EXPECT_EQ(classBars, 2 * 3);  // borrowers and users of 1年1組, 1年2組, 職員
    EXPECT_EQ(filled, 6u + 2u);   // the bars and the legend's two keys, as rectangles
    ASSERT_TRUE(written);
    // The PDF holds no picture: the chart is drawn, not pasted.
    const std::string list = (root / "images.txt").string();
    ASSERT_EQ(std::system(("pdfimages -list '" + pdf + "' > '" + list + "'").c_str()), 0);
    EXPECT_LE(fs::file_size(list), 200u);  // the header lines only
}

// The table's CSV export: the view's columns only, in code page 932.
TEST_F(StatsWindowTest, TheTableExportsAsCsv) {
    StartDesk();
    const std::string path = (root / "stats.csv").string();
    int lines = 0;
    InStatsWindow([&](kashidashi::TToukei& window) {
        auto& views = *window.findChild<QComboBox*>("ComboBox1");
        views.setCurrentIndex(views.findText(QStringLiteral("クラス別")));
        auto& grid = *window.findChild<kashidashi::TLibXGrid*>("DBGrid1");
        grid.CsvFileName = path;
        lines = grid.CopyCsvFile();
    });
    EXPECT_EQ(lines, 5);  // the titles, 1年1組, 1年2組, 職員, the borrower gone from Name
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(platform::FromCp932(bytes.str()),
              "\"所属\",\"貸出数\"\r\n\"1年1組\",\"3\"\r\n\"1年2組\",\"1\"\r\n\"職員\","
              "\"1\"\r\n\"所属なし\",\"1\"\r\n");
}

// A school year with loans in every month, for the picture.
TEST_F(StatsWindowTest, Screenshot) {
    const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
    const std::string target = fs::absolute(folder).string();
    std::string rows;
    for (int i = 0; i < 400; ++i) {
        const int month = 4 + (i * 7) % 12, year = month > 12 ? 2026 : 2025;
        char date[16];
        std::snprintf(date, sizeof date, "%04d/%02d/%02d", year, (month - 1) % 12 + 1, 1 + i % 28);
        const char* users[] = {"100001", "100002", "100003", "900001", "100001", "100003"};
        rows += std::string(i ? ", " : "") + "(" + std::to_string(1 + i % 6) + ", '" +
                users[(i * i) % 6] + "', '" + date + "')";
    }
    kashidashi::library::ExecuteRows(
        Connection(), "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values " + rows);
    StartDesk();
    InStatsWindow([&](kashidashi::TToukei& window) {
        window.resize(1000, 560);
        Settle();
        EXPECT_TRUE(
            window.grab().save(QString::fromStdString(target + "/stats-window.png"), "PNG"));
        // The first page of the print, as the preview shows it at 100 %.
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            preview.resize(1010, 1100);
            Settle();
            EXPECT_TRUE(
                preview.grab().save(QString::fromStdString(target + "/stats-print.png"), "PNG"));
        });
        Click(window, "Button2");
    });
}

}  // namespace
}  // namespace library_test
