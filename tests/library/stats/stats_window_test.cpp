// 統計 opened from 図書館の管理, offscreen, on the small school: the counts
// of a school year in the grid and the chart, the view changed, and the
// print with the chart drawn as vectors (bars as filled rectangles in the
// pages, no picture in the PDF). With KASHIDASHI_SCREENSHOTS naming a
// folder, a picture of the window for the project's documents:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs library_tests
//       --gtest_filter='StatsWindow*'
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QSpinBox>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <cstdlib>
#include <filesystem>

#include <fstream>
#include <sstream>
#include "data/pin_constants.h"
#include "grid/LibXGrid.h"
#include "library/sql_rows.h"
#include "library/stats/U_Toukei.h"
#include "library/year_fixture.h"
#include "platform/cp932.h"
#include "reports/fonts.h"
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
    static void ChooseView(kashidashi::TToukei& window, const char* title) {
        auto& views = *window.findChild<QComboBox*>("ComboBox1");
        views.setCurrentIndex(views.findText(QString::fromUtf8(title)));
    }
    // The file dialog answered with `path`.
    void SaveAs(const std::string& path) {
        dialogs->Drive("QFileDialog", [path](QDialog& dialog) {
            auto& picker = static_cast<QFileDialog&>(dialog);
            picker.selectFile(QString::fromStdString(path));
            dialog.accept();
        });
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

// The heading counts the loans of the period in every view; the Users view
// says the share of users who borrowed.
TEST_F(StatsWindowTest, TheHeadingCountsTheLoansAndTheShareOfBorrowers) {
    StartDesk();
    QString titles, users, grid;
    InStatsWindow([&](kashidashi::TToukei& window) {
        ChooseView(window, "よく借りられた本");
        titles = window.findChild<QLabel*>("Label2")->text();
        ChooseView(window, "利用者の割合");
        users = window.findChild<QLabel*>("Label2")->text();
        auto& table = *window.findChild<kashidashi::TLibXGrid*>("DBGrid1");
        grid = table.model()->headerData(3, Qt::Horizontal).toString() + " " +
               table.model()->index(0, 3).data().toString();
    });
    EXPECT_TRUE(titles.contains(QStringLiteral("貸出数 6"))) << titles.toStdString();
    // 1年1組 has two users, both borrowed; 1年2組 one of two; 職員 one of one.
    EXPECT_TRUE(users.contains(QStringLiteral("借りた人 4 / 5 人（80.0%）")))
        << users.toStdString();
    EXPECT_EQ(grid, QStringLiteral("割合（%） 100.0"));
}

// エクセル出力 writes the .xlsx itself where the operator says, and opens it
// with the desktop's application for spreadsheets.
TEST_F(StatsWindowTest, TheSpreadsheetIsWrittenAndOpened) {
    const std::string opened = (root / "opened.txt").string(), opener = (root / "opener").string();
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened << "'\n";
    }
    fs::permissions(opener, fs::perms::owner_all);
    setenv("KASHIDASHI_OPENER", opener.c_str(), 1);
    StartDesk();
    const std::string path = (root / "統計.xlsx").string();
    InStatsWindow([&](kashidashi::TToukei& window) {
        ChooseView(window, "よく借りられた本");
        SaveAs(path);
        Click(window, "Button3");
    });
    unsetenv("KASHIDASHI_OPENER");
    std::ifstream file(path, std::ios::binary);
    std::string magic(2, ' ');
    file.read(magic.data(), 2);
    EXPECT_EQ(magic, "PK");  // a zip, as .xlsx files are
    for (int i = 0; i < 50 && !fs::exists(opened); ++i) Settle();
    std::ifstream said(opened);
    std::string argument((std::istreambuf_iterator<char>(said)), {});
    EXPECT_EQ(argument, path);
}

// Thirty classes: the chart's labels stand upright in short form in the
// window, and fit under their bars in the print.
TEST_F(StatsWindowTest, ManyClassesKeepTheirLabelsReadable) {
    std::string rows;
    for (int grade = 1; grade <= 6; ++grade)
        for (int group = 3; group <= 7; ++group)  // after the fixture's 1年1組 and 1年2組
            rows += std::string(rows.empty() ? "" : ", ") + "(" +
                    std::to_string(grade * 1000 + group) + ", '" + std::to_string(grade) + "年" +
                    std::to_string(group) + "組')";
    kashidashi::library::ExecuteRows(Connection(),
                                     "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values " + rows);
    StartDesk();
    QStringList labels;
    qreal angle = 0;
    double widest = 0, slot = 0;
    InStatsWindow([&](kashidashi::TToukei& window) {
        ChooseView(window, "クラス別");
        for (auto* axis : window.Chart().chart()->axes(Qt::Horizontal))
            if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) {
                labels = categories->categories();
                angle = categories->labelsAngle();
            }
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            auto& page = static_cast<kashidashi::reports::TPreview&>(preview).Report().pages[0];
            const auto& metrics = kashidashi::reports::FontMetrics();
            for (const auto& text : page.texts)
                if (text.object == "Chart" && text.Text() == "6-7") {
                    slot = text.clip.w;
                    widest = metrics.WidthMm(QStringLiteral("6-7"), text.font);
                }
        });
        Click(window, "Button2");
    });
    // 1年1組, 1年2組, 職員, the thirty, 所属なし
    ASSERT_EQ(labels.size(), 3 + 30 + 1) << labels.join(",").toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("3-4"))) << labels.join(",").toStdString();
    EXPECT_EQ(angle, -90);
    ASSERT_GT(slot, 0);
    EXPECT_LE(widest, slot);
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
