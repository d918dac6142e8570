// The keys of the small windows of the start: in 法人名登録 Enter confirms
// the name and Tab moves on to OK (no tab character in the name); in 初期設定
// Enter closes (and so saves) as Esc does, and presses a button that has the
// focus.
#include <QLineEdit>
#include <QPushButton>

#include "data/pin_constants.h"
#include "support/app_fixture.h"
#include "support/widget_keys.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;

class SmallWindowsKeysTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        MakeDataFolder(DriveFolder("C:\\Book\\"));
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    }
};

TEST_F(SmallWindowsKeysTest, TheSchoolNameTakesEnterAndTab) {
    bool closedByEnter = false;
    dialogs->Drive("kashidashi::TSetUphoujinmei", [&](QDialog& w) {
        auto* name = w.findChild<QLineEdit*>("DBEdit2");
        ASSERT_EQ(w.focusWidget(), name);
        name->selectAll();
        Type(*name, QStringLiteral("若葉小学校"));
        Press(*name, Qt::Key_Tab);
        EXPECT_EQ(name->text(), QStringLiteral("若葉小学校"));
        EXPECT_EQ(w.focusWidget(), w.findChild<QPushButton*>("Button1"));
        Press(*w.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(w.focusWidget(), name);
        Press(*name, Qt::Key_Return);
        closedByEnter = !w.isVisible();
    });
    Start();
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(HeadRow().at("meisyou"), engine::Value(std::string("若葉小学校")));
}

TEST_F(SmallWindowsKeysTest, EnterOnABlankSchoolNameKeepsTheWindow) {
    bool stayed = false;
    dialogs->Drive("kashidashi::TSetUphoujinmei", [&](QDialog& w) {
        auto* name = w.findChild<QLineEdit*>("DBEdit2");
        name->setText(QStringLiteral("　 "));
        Press(*name, Qt::Key_Return);
        stayed = w.isVisible();
        name->setText(QStringLiteral("若葉小学校"));
        Press(*name, Qt::Key_Enter);
    });
    Start();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(SmallWindowsKeysTest, EnterClosesTheSettingsAndSavesUnlessOnAButton) {
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    Start();
    bool closedByEnter = false, stayedForTheButton = false;
    dialogs->Drive("kashidashi::THead1", [&](QDialog& w) {
        auto* browse = w.findChild<QPushButton*>("Button3");
        browse->setFocus();
        Press(*browse, Qt::Key_Return);  // the folder dialog, cancelled
        stayedForTheButton = w.isVisible();
        auto* period = w.findChild<QLineEdit*>("RDBEdit9");
        period->setFocus();
        period->setText(QStringLiteral("21"));
        Press(*period, Qt::Key_Return);
        closedByEnter = !w.isVisible();
    });
    dialogs->Drive("QFileDialog", [](QDialog& w) { w.reject(); });
    Main().findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_TRUE(stayedForTheButton);
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(HeadRow().at("PM1"), engine::Value(21));
}

}  // namespace
}  // namespace app_test
