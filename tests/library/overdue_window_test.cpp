// 延滞・督促 opened from 図書館の管理, offscreen, on the small school: the
// list of a day with its count, narrowed to a class, and the slips shown
// in the preview.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <cstdlib>
#include <filesystem>

#include "data/pin_constants.h"
#include "library/U_Entai.h"
#include "library/year_fixture.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

class OverdueWindowTest : public YearFixture {
  protected:
    void StartDesk() {
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    void InOverdueWindow(std::function<void(QDialog&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button2"); })
            .Drive("kashidashi::TEntai", std::move(drive));
    }
};

TEST_F(OverdueWindowTest, TheListOfADayNarrowedToAClassAndItsSlips) {
    StartDesk();
    QString all, narrowed;
    size_t slipPages = 0;
    InOverdueWindow([&](QDialog& window) {
        window.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2025, 6, 12));
        all = window.findChild<QLabel*>("Label2")->text();
        auto& classes = *window.findChild<QComboBox*>("ComboBox1");
        classes.setCurrentIndex(classes.findText(QStringLiteral("1年1組")));
        narrowed = window.findChild<QLabel*>("Label2")->text();
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            slipPages = static_cast<kashidashi::reports::TPreview&>(preview).Report().pages.size();
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(all, QStringLiteral("延滞 5 件"));
    EXPECT_EQ(narrowed, QStringLiteral("延滞 2 件"));
    EXPECT_EQ(slipPages, 1u);  // two borrowers of 1年1組
}

// Pictures for the project's documents, when KASHIDASHI_SCREENSHOTS names a
// folder: the window and the first page of the slips.
TEST_F(OverdueWindowTest, Screenshot) {
    const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
    const std::string target = std::filesystem::absolute(folder).string();
    StartDesk();
    InOverdueWindow([&](QDialog& window) {
        window.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2025, 6, 12));
        Settle();
        EXPECT_TRUE(
            window.grab().save(QString::fromStdString(target + "/overdue-window.png"), "PNG"));
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            preview.resize(1010, 1100);
            Settle();
            EXPECT_TRUE(
                preview.grab().save(QString::fromStdString(target + "/overdue-slips.png"), "PNG"));
        });
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    Click(Main(), "Button3");
}

}  // namespace
}  // namespace library_test
