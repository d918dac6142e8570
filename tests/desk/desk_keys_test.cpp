// The keys, buttons and control codes that lend, cancel or would end the
// desk's work: each way to lend and to cancel does its work, Esc and an Enter
// outside the entry fields end nothing, a failed lending leaves the desk able
// to lend, and a message's activation never brings a cancelled user back.
#include <QApplication>
#include <QDateEdit>
#include <QPushButton>

#include "desk_fixture.h"
#include "support/widget_keys.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using Kind = Dialogs::Kind;

class DeskKeysTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (Stopped()) return;
        MakePlainBooks();
    }
    static void NoConfirmation(TFgyoumu1& desk) {
        desk.findChild<kashidashi::TRadioGroup*>("RadioGroup6")->SetItemIndex(1);
    }
    static QWidget& Widget(TFgyoumu1& desk, const char* name) {
        auto* widget = desk.findChild<QWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    static int PickCount(TFgyoumu1& desk) {
        return static_cast<int>(desk.Desk().WKT01.RecordCount());
    }
};

struct Trigger {
    const char* name;
    std::function<void(TFgyoumu1&)> press;
};

void PressKey(TFgyoumu1& desk, int key) {
    auto* edit = desk.findChild<QWidget*>("Edit4");
    edit->setFocus();
    Press(*edit, key);
}

TEST_F(DeskKeysTest, EachWayToLendLendsThePickList) {
    const Trigger triggers[] = {
        {"F1", [](TFgyoumu1& desk) { PressKey(desk, Qt::Key_F1); }},
        {"Button1", [](TFgyoumu1& desk) { Click(desk, "Button1"); }},
        {"ACTION", [this](TFgyoumu1& desk) { Scan(desk, "Edit4", "ACTION"); }},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        NoConfirmation(desk);
        int book = 1;
        for (const auto& trigger : triggers) {
            SCOPED_TRACE(trigger.name);
            Scan(desk, "Edit3", "10101");
            Scan(desk, "Edit4", QString::number(book));
            trigger.press(desk);
            EXPECT_EQ(RowCount("Select * From kashibo Where kashidashiF='1' And BOOK_ID=" +
                               std::to_string(book)),
                      1);
            EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
            ++book;
        }
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(DeskKeysTest, EachWayToCancelDropsTheUser) {
    const Trigger triggers[] = {
        {"F2", [](TFgyoumu1& desk) { PressKey(desk, Qt::Key_F2); }},
        {"Button2", [](TFgyoumu1& desk) { Click(desk, "Button2"); }},
        {"CANCEL", [this](TFgyoumu1& desk) { Scan(desk, "Edit4", "CANCEL"); }},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        for (const auto& trigger : triggers) {
            SCOPED_TRACE(trigger.name);
            Scan(desk, "Edit3", "10101");
            Scan(desk, "Edit4", "1");
            dialogs->Answer(Kind::Information, Dialogs::Ok);
            trigger.press(desk);
            EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
            EXPECT_TRUE(Text(desk, "Edit6").isEmpty());
            EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit3);
        }
    });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(3, QStringLiteral("貸出をキャンセルしました。")))
        << dialogs->Describe();
    EXPECT_EQ(RowCount("Select * From kashibo"), 0);
}

TEST_F(DeskKeysTest, EscAndAnEnterOutsideTheEntryFieldsEndNothing) {
    Settings().UserNumberMode = 5;  // 名前検索 is shown
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", FixedNumber("10101").c_str());
        Scan(desk, "Edit4", "1");
        Press(Widget(desk, "Edit4"), Qt::Key_Escape);
        EXPECT_TRUE(desk.isVisible());
        for (const char* name : {"DateEdit1", "DateEdit2", "DBGrid1", "RadioGroup1"}) {
            SCOPED_TRACE(name);
            Widget(desk, name).setFocus();
            Press(Widget(desk, name), Qt::Key_Return);
            Press(Widget(desk, name), Qt::Key_Escape);
            EXPECT_TRUE(desk.isVisible());
        }
        EXPECT_EQ(PickCount(desk), 1);
        for (auto* button : desk.findChildren<QPushButton*>())
            EXPECT_FALSE(button->isDefault() || button->autoDefault())
                << button->objectName().toStdString();
    });
    const auto windows = dialogs->Windows();
    EXPECT_EQ(std::count(windows.begin(), windows.end(), QStringLiteral("kashidashi::TName_Search")),
              0)
        << dialogs->Describe();
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(DeskKeysTest, TheWindowActivatedDuringTheCancelMessageBringsNoUserBack) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "1");
        // A message box takes the focus and gives it back to Edit4 when it
        // closes, while the cancellation is still under way.
        dialogs->Answer(Kind::Information, Dialogs::Ok, [&] {
            QDialog box(&desk);
            box.show();
            box.activateWindow();
            Settle();
            box.close();
            desk.activateWindow();
            Widget(desk, "Edit4").setFocus();
            Settle();
        });
        Scan(desk, "Edit4", "CANCEL");
        Settle();
        EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
        EXPECT_TRUE(Text(desk, "Edit6").isEmpty());
        EXPECT_TRUE(desk.Desk().state.CurrentUserId.empty());
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit3);
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// A lending that fails leaves the desk as it was before F1: the next user
// is lent to with the same keys.
TEST_F(DeskKeysTest, AFailedLendingLeavesEveryWayToLendWorking) {
    const std::string folder = std::filesystem::path(dataFolder).parent_path().string();
    if (Server()) GTEST_SKIP() << "the data folder is moved away";
    OpenDesk([&](TFgyoumu1& desk) {
        NoConfirmation(desk);
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "1");
        kashidashi::TDM::Instance().DBDatabase1.Close();
        std::filesystem::rename(folder, folder + ".away");
        dialogs->Answer(Kind::Information, Dialogs::Ok);
        PressKey(desk, Qt::Key_F1);
        std::filesystem::rename(folder + ".away", folder);
        EXPECT_FALSE(desk.Desk().state.LendingBusy);
        Scan(desk, "Edit3", "10102");
        Scan(desk, "Edit4", "2");
        PressKey(desk, Qt::Key_F1);
    });
    EXPECT_EQ(dialogs->Texts(),
              std::vector<QString>{
                  QStringLiteral("貸出処理が正常に出来ませんでしたので取り消します。")})
        << dialogs->Describe();
    EXPECT_EQ(RowCount("Select * From kashibo Where kashidashiF='1'"), 1);
    EXPECT_EQ(RowCount("Select * From kashibo Where BOOK_ID=2"), 1);
}

}  // namespace
}  // namespace desk_test
