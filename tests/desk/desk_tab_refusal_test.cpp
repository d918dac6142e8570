// A tab change refused while a user is served leaves the lending page on
// screen: the page shown, the tab header and the focus stay on 貸出, and the
// next scan goes to the book field; the control code path behaves the same.
// Clicking from tab to tab never leaves two pages drawn.
#include <QApplication>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

#include "desk_fixture.h"
#include "support/widget_keys.h"

namespace desk_test {
namespace {

constexpr const char* kBusy = "現在貸出処理を行っていますので、他の処理を行うことは出来ません。";

QTabWidget& Tabs(TFgyoumu1& desk) {
    return *desk.findChild<QTabWidget*>("PageControl1");
}

// The operator's click on a tab header.
void ClickTab(TFgyoumu1& desk, int tab) {
    QTabBar* bar = Tabs(desk).tabBar();
    const QPointF at = bar->tabRect(tab).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QApplication::sendEvent(bar, &release);
    QCoreApplication::processEvents();
}

// The pages of the tab widget that are drawn.
std::vector<int> VisiblePages(TFgyoumu1& desk) {
    std::vector<int> shown;
    for (int i = 0; i < Tabs(desk).count(); ++i)
        if (Tabs(desk).widget(i)->isVisible()) shown.push_back(i);
    return shown;
}

// What the operator sees: the page, the header, and where a scan goes.
void ExpectLendingShown(TFgyoumu1& desk) {
    QTabWidget& tabs = Tabs(desk);
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(tabs.tabBar()->currentIndex(), 0);
    EXPECT_EQ(tabs.currentWidget(), tabs.widget(0));
    EXPECT_EQ(VisiblePages(desk), std::vector<int>{0});
    EXPECT_EQ(desk.focusWidget(), desk.findChild<QWidget*>("Edit4"));
}

// A reader's scan into whatever field has the focus.
void ScanIntoFocus(TFgyoumu1& desk, const QString& code) {
    QWidget* field = desk.focusWidget();
    ASSERT_NE(field, nullptr);
    Type(*field, code);
    Press(*field, Qt::Key_Return);
}

class DeskTabRefusalTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (!Stopped()) MakePlainBooks();
    }
};

TEST_F(DeskTabRefusalTest, AClickOnAnotherTabLeavesTheLendingPage) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        for (int tab : {1, 2, 3}) {
            SCOPED_TRACE(tab);
            // While the message is up, the refused page is not drawn under it.
            std::vector<int> underMessage;
            dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok,
                            [&] { underMessage = VisiblePages(desk); });
            ClickTab(desk, tab);
            EXPECT_EQ(underMessage, std::vector<int>{0});
            ExpectLendingShown(desk);
        }
        // The scan after the refusals picks a book for the user served.
        ScanIntoFocus(desk, "1");
        EXPECT_EQ(desk.Desk().WKT01.RecordCount(), 1);
        EXPECT_EQ(Text(desk, "Edit1"), QStringLiteral("10101"));
        EXPECT_EQ(RowCount("Select * From kashibo Where kashidashiF='1'"), 0);
    });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(3, QString::fromUtf8(kBusy)))
        << dialogs->Describe();
}

// The control codes move the page, the header and the focus together; a
// code scanned while a user is served leaves the lending page as it is.
TEST_F(DeskTabRefusalTest, TheControlCodesShowThePageTheyChoose) {
    struct Step {
        const char* code;
        int tab;
        const char* focus;
    };
    const Step steps[] = {{"RETURN", 1, "Edit5"},
                          {"LENDING", 0, "Edit3"},
                          {"RETURN", 1, "Edit5"},
                          {"LENDING", 0, "Edit3"}};
    OpenDesk([&](TFgyoumu1& desk) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.code);
            ScanIntoFocus(desk, step.code);
            EXPECT_EQ(Tabs(desk).currentIndex(), step.tab);
            EXPECT_EQ(Tabs(desk).tabBar()->currentIndex(), step.tab);
            EXPECT_EQ(VisiblePages(desk), std::vector<int>{step.tab});
            EXPECT_EQ(desk.focusWidget(), desk.findChild<QWidget*>(step.focus));
        }
        Scan(desk, "Edit3", "10101");
        ScanIntoFocus(desk, "RETURN");
        ExpectLendingShown(desk);
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(DeskTabRefusalTest, ClickingFromTabToTabDrawsOnePage) {
    OpenDesk([&](TFgyoumu1& desk) {
        for (int tab : {2, 1, 3, 1, 0, 2, 0}) {
            SCOPED_TRACE(tab);
            ClickTab(desk, tab);
            EXPECT_EQ(Tabs(desk).currentIndex(), tab);
            EXPECT_EQ(VisiblePages(desk), std::vector<int>{tab});
        }
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
