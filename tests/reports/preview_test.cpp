// The preview window, real and offscreen: opened at 100 % on page 1 through
// Dialogs, navigation, find, the outline, the exports, save and open, and
// printing without a printer; a data set that fails shows its error once.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <thread>

#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "reports/fixture_source.h"
#include "reports/layout_file.h"
#include "reports/preview_window.h"
#include "reports/renderer.h"
#include "reports/report.h"
#include "reports/report_output.h"
#include "support/scripted_dialogs.h"

namespace kashidashi::reports {
namespace {

using kx_test::ScriptedDialogs;
using namespace testing;

PreparedReport ThreePages() {
    FixtureSource head("rptHead", {{{"meisyou", Text("みどり小学校")}}});
    std::vector<Row> rows;
    for (int i = 1; i <= 130; ++i)
        rows.push_back({{"利用者番号", Int(i, "")},
                        {"name", Text(i == 100 ? "=HYPERLINK(\"x\")" : "名前")},
                        {"BOOK_ID", Int(i, "0000" + std::to_string(i))},
                        {"syomei2", Text("本")},
                        {"NDC_ID", Int(1, "1")},
                        {"kashidashibi", NullOf(engine::FieldType::Date)},
                        {"henkyakuyotei", NullOf(engine::FieldType::Date)},
                        {"henkyakubi", NullOf(engine::FieldType::Date)}});
    FixtureSource loans("rptDBDataset2", rows);
    return RenderReport(LoadLayout(QStringLiteral("period_list")), {&loans, &head});
}

TEST(Preview, OpensAt100PercentOnThFirstPageAndNavigates) {
    TPreview preview(ThreePages());
    ASSERT_GE(preview.Report().pages.size(), 3u);
    EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
    EXPECT_EQ(preview.PageIndex(), 0);
    preview.GoToPage(2);
    EXPECT_EQ(preview.PageIndex(), 2);
    preview.GoToPage(99);
    EXPECT_EQ(preview.PageIndex(), int(preview.Report().pages.size()) - 1);
    auto* outline = preview.findChild<QListWidget*>();
    ASSERT_TRUE(outline);
    EXPECT_EQ(outline->count(), int(preview.Report().pages.size()));
    outline->setCurrentRow(1);
    EXPECT_EQ(preview.PageIndex(), 1);
    preview.SetZoom(2.0);
    EXPECT_DOUBLE_EQ(preview.Zoom(), 2.0);
}

TEST(Preview, FindShowsThePageOfTheNextTextThatHoldsIt) {
    TPreview preview(ThreePages());
    ASSERT_TRUE(preview.Find(QStringLiteral("00120")));
    EXPECT_GE(preview.PageIndex(), 2);
    EXPECT_TRUE(preview.Find(QStringLiteral("件数")));
    EXPECT_EQ(preview.PageIndex(), int(preview.Report().pages.size()) - 1);
    EXPECT_FALSE(preview.Find(QStringLiteral("見つからない言葉")));
}

TEST(Preview, SavedReportsOpenAgainWithTheSamePages) {
    QTemporaryDir dir;
    TPreview preview(ThreePages());
    QString path = dir.filePath(QStringLiteral("list.kxr"));
    ASSERT_TRUE(preview.Save(path));
    TPreview other(PreparedReport{});
    ASSERT_TRUE(other.Open(path));
    ASSERT_EQ(other.Report().pages.size(), preview.Report().pages.size());
    const Page& a = preview.Report().pages[1];
    const Page& b = other.Report().pages[1];
    ASSERT_EQ(a.texts.size(), b.texts.size());
    for (size_t i = 0; i < a.texts.size(); ++i) {
        EXPECT_EQ(a.texts[i].Text(), b.texts[i].Text());
        EXPECT_EQ(a.texts[i].clip, b.texts[i].clip);
    }
    EXPECT_EQ(a.lines.size(), b.lines.size());
    EXPECT_FALSE(other.Open(dir.filePath(QStringLiteral("missing.kxr"))));
}

TEST(Preview, ExportsAPdfOfEveryPageAndASpreadsheetOverAnOldFile) {
    QTemporaryDir dir;
    TPreview preview(ThreePages());
    QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    ASSERT_TRUE(preview.ExportPdf(pdf));
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(
        bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
        static_cast<qsizetype>(preview.Report().pages.size()));
    QString xlsx = dir.filePath(QStringLiteral("list.xlsx"));
    QFile old(xlsx);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(preview.ExportSpreadsheet(xlsx));
    QFile sheet(xlsx);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    EXPECT_TRUE(sheet.readAll().startsWith("PK"));
}

// The export's thread blocks on a named pipe until the test reads it: while
// it runs, Esc and the close box leave the progress display up, and 開く is
// disabled and refused (the thread reads the pages).
TEST(Preview, TheSpreadsheetExportCannotBeDismissedNorItsPagesReplacedWhileItRuns) {
    QTemporaryDir dir;
    QString other = dir.filePath(QStringLiteral("other.kxr"));
    ASSERT_TRUE(
        TPreview(RenderReport(LoadLayout(QStringLiteral("control_barcodes")), {})).Save(other));
    QString xlsx = dir.filePath(QStringLiteral("list.xlsx"));
    ASSERT_EQ(mkfifo(QFile::encodeName(xlsx).constData(), 0600), 0);
    TPreview preview(ThreePages());
    const size_t pages = preview.Report().pages.size();
    std::thread reader;
    bool checked = false;
    QTimer::singleShot(300, &preview, [&] {
        auto* progress = preview.findChild<QProgressDialog*>();
        ASSERT_NE(progress, nullptr);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(progress, &escape);
        progress->close();
        QApplication::processEvents();
        EXPECT_TRUE(progress->isVisible());
        for (QAction* action : preview.findChildren<QAction*>())
            if (action->text() == QStringLiteral("開く")) EXPECT_FALSE(action->isEnabled());
        EXPECT_FALSE(preview.Open(other));
        EXPECT_EQ(preview.Report().pages.size(), pages);
        checked = true;
        reader = std::thread([xlsx] {
            QFile pipe(xlsx);
            if (pipe.open(QIODevice::ReadOnly)) pipe.readAll();
        });
    });
    preview.ExportSpreadsheet(xlsx);
    if (reader.joinable()) reader.join();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(preview.Open(other));  // the export has ended
}

TEST(Preview, PrintingWithoutAPrinterSaysSoAndTheReportShowsThroughDialogs) {
    if (HasPrinter()) GTEST_SKIP() << "a printer is installed";
    ScriptedDialogs dialogs;
    dialogs.Drive("kashidashi::reports::TPreview", [](QDialog& window) {
        auto& preview = static_cast<TPreview&>(window);
        EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
        EXPECT_EQ(preview.Report().pages.size(), 1u);
        preview.Print();
    });
    dialogs.Answer(Dialogs::Kind::Information, Dialogs::Ok);
    Report report(QStringLiteral("control_barcodes"));
    EXPECT_TRUE(report.Show(nullptr));
    EXPECT_EQ(dialogs.Unexpected(), 0) << dialogs.Describe();
    EXPECT_EQ(
        dialogs.Texts(),
        std::vector<QString>{QStringLiteral("プリンタが設定されていないため、印刷できません。")});
}

TEST(Preview, ADataSetThatFailsToOpenShowsItsErrorOnceAndNoPreview) {
    QTemporaryDir folder;
    engine::TDBSession session("PREVIEWFAIL");
    engine::TDBDatabase database("FAIL", session);
    database.SetDirectory(folder.path().toStdString());
    engine::TDBQuery query;
    query.SetSessionName("PREVIEWFAIL");
    query.SetDatabaseName("FAIL");
    query.SQL().Add("Select * From NoSuchTable");
    ScriptedDialogs dialogs;
    dialogs.Answer(Dialogs::Kind::Error, Dialogs::Ok);
    Report report(QStringLiteral("book_reservations"));
    report.AddDataSet("rptDBDataset1", query);
    EXPECT_FALSE(report.Show(nullptr));
    EXPECT_EQ(dialogs.Unexpected(), 0) << dialogs.Describe();
    EXPECT_EQ(dialogs.Left(), 0);
    ASSERT_EQ(dialogs.Records().size(), 1u) << dialogs.Describe();
    EXPECT_TRUE(dialogs.Windows().empty());
    EXPECT_TRUE(dialogs.Texts().at(0).contains(QStringLiteral("NoSuchTable"), Qt::CaseInsensitive))
        << dialogs.Describe();
    EXPECT_FALSE(query.Active());
}

}  // namespace
}  // namespace kashidashi::reports
