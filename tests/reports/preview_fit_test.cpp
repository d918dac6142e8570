// The preview on a small screen: it fits the screen, opens at 幅に合わせる
// when the page at 100 % is wider than the view and keeps 100 % when it is
// not, offers 幅に合わせる and ページ全体, and PDF出力 says where it saved.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>

#include "reports/page_view.h"
#include "reports/preview_window.h"
#include "support/scripted_dialogs.h"
#include "support/widget_keys.h"
#include "widgets/window_placement.h"

namespace kashidashi::reports {
namespace {

using kx_test::ScriptedDialogs;
using Fit = TPreview::Fit;

PreparedReport OnePage(double widthMm, double heightMm) {
    Page page;
    page.width = widthMm;
    page.height = heightMm;
    return PreparedReport{"test", {page}};
}

// The page as drawn, in the scroll area's view.
QSize PageShown(TPreview& preview) {
    return preview.findChild<QScrollArea*>()->widget()->size() -
           QSize(2 * PageView::kBorder, 2 * PageView::kBorder);
}

QSize Viewport(TPreview& preview) {
    return preview.findChild<QScrollArea*>()->viewport()->size();
}

// The preview shown as the program shows it, every window kept on screen.
class PreviewOnScreen : public ::testing::Test {
  protected:
    WindowsOnScreen keeper{qApp};
};

TEST_F(PreviewOnScreen, OpensFittedToTheWidthOnlyWhenThePageAt100PercentIsWider) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* name;
        double width, height;
        Fit fit;
    } cases[] = {
        {"A4 landscape", 297, 210, Fit::Width},
        {"B4 portrait", 257, 364, Fit::Width},
        {"a card", 91, 55, Fit::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPreview preview(OnePage(c.width, c.height));
        preview.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(area.contains(preview.frameGeometry())) << area.width() << "x" << area.height();
        EXPECT_LE(preview.height() + 30, area.height());
        EXPECT_EQ(preview.FitShown(), c.fit);
        const auto* zoom = preview.findChild<QComboBox*>("ZoomChoice");
        if (c.fit == Fit::Width) {
            EXPECT_EQ(zoom->currentText(), QStringLiteral("幅に合わせる"));
            EXPECT_LE(PageShown(preview).width() + 2 * PageView::kBorder,
                      Viewport(preview).width());
            EXPECT_GT(PageShown(preview).width(), Viewport(preview).width() * 3 / 4);
        } else {
            EXPECT_EQ(zoom->currentText(), QStringLiteral("100 %"));
            EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
        }
    }
}

TEST_F(PreviewOnScreen, TheZoomChoicesFitTheWidthAndTheWholePage) {
    TPreview preview(OnePage(210, 297));
    preview.show();
    QCoreApplication::processEvents();
    auto* zoom = preview.findChild<QComboBox*>("ZoomChoice");
    ASSERT_NE(zoom, nullptr);
    QStringList items;
    for (int i = 0; i < zoom->count(); ++i) items << zoom->itemText(i);
    EXPECT_EQ(items.mid(0, 2), (QStringList{"幅に合わせる", "ページ全体"}));
    EXPECT_TRUE(items.contains(QStringLiteral("100 %")));
    // Chosen as the operator does, with the keys of the list.
    zoom->setFocus();
    kx_test::Press(*zoom, Qt::Key_Home);
    kx_test::Press(*zoom, Qt::Key_Down);
    EXPECT_EQ(preview.FitShown(), Fit::Page);
    const QSize whole = PageShown(preview);
    EXPECT_LE(whole.width() + 2 * PageView::kBorder, Viewport(preview).width());
    EXPECT_LE(whole.height() + 2 * PageView::kBorder, Viewport(preview).height());
    kx_test::Press(*zoom, Qt::Key_Up);
    EXPECT_EQ(preview.FitShown(), Fit::Width);
    EXPECT_GT(PageShown(preview).height(), whole.height());
    // The fitted page follows the window's size.
    const int before = PageShown(preview).width();
    preview.resize(preview.width() - 100, preview.height());
    QCoreApplication::processEvents();
    EXPECT_LT(PageShown(preview).width(), before);
    preview.SetZoom(1.0);
    EXPECT_EQ(preview.FitShown(), Fit::None);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("100 %"));
}

TEST_F(PreviewOnScreen, PdfOutputSaysWhereItSavedTheFile) {
    QTemporaryDir dir;
    const QString typed = dir.filePath(QStringLiteral("貸出一覧"));  // no suffix typed
    ScriptedDialogs dialogs;
    dialogs.Drive("QFileDialog", [&](QDialog& w) {
        auto& files = static_cast<QFileDialog&>(w);
        files.selectFile(typed);
        w.accept();
    });
    dialogs.Answer(Dialogs::Kind::Information, Dialogs::Ok);
    TPreview preview(OnePage(210, 297));
    preview.show();
    QAction* pdf = nullptr;
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == QStringLiteral("PDF出力")) pdf = action;
    ASSERT_NE(pdf, nullptr);
    pdf->trigger();
    EXPECT_EQ(dialogs.Unexpected(), 0) << dialogs.Describe();
    const QString saved = typed + QStringLiteral(".pdf");
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(dialogs.Texts(),
              std::vector<QString>{QStringLiteral("次のファイルに保存しました。\r\n") + saved});
}

}  // namespace
}  // namespace kashidashi::reports
