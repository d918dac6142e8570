// The desk window on a real data folder (the demo school): opening and
// closing with the stored options, the user entry, the tab refusal while a
// user is served, the control barcodes, bad input, and a second desk.
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QTabWidget>

#include "desk_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/table.h"
#include "engine/session/session.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using kashidashi::TRadioGroup;

QDate Today() {
    auto civil = engine::ToCivil(engine::Today());
    return QDate(civil.year, civil.month, civil.day);
}

int Tab(TFgyoumu1& desk) {
    return desk.findChild<QTabWidget*>("PageControl1")->currentIndex();
}

void SelectTab(TFgyoumu1& desk, int tab) {
    desk.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(tab);
}

class DeskWindowTest : public DeskFixture {};

TEST_F(DeskWindowTest, OpeningShowsTheDatesAndTheOptionsSurviveAReopen) {
    OpenDesk([&](TFgyoumu1& desk) {
        EXPECT_EQ(desk.windowTitle(), QStringLiteral("貸出・返却"));
        EXPECT_EQ(desk.findChild<QDateEdit*>("DateEdit1")->date(), Today());
        EXPECT_EQ(desk.findChild<QDateEdit*>("DateEdit2")->date(), Today().addDays(14));
        EXPECT_EQ(desk.Desk().state.LoanLimit, 3);
        EXPECT_EQ(desk.Desk().state.NewBookLockDays, 7);
        for (const char* group : {"RadioGroup5", "RadioGroup6", "RadioGroup7"})
            EXPECT_EQ(desk.findChild<TRadioGroup*>(group)->ItemIndex(), 0) << group;
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit3);
        desk.findChild<TRadioGroup*>("RadioGroup6")->SetItemIndex(1);  // 貸出確認の表示: なし
        desk.close();
    });
    OpenDesk([&](TFgyoumu1& desk) {
        EXPECT_EQ(desk.findChild<TRadioGroup*>("RadioGroup5")->ItemIndex(), 0);
        EXPECT_EQ(desk.findChild<TRadioGroup*>("RadioGroup6")->ItemIndex(), 1);
        EXPECT_EQ(desk.findChild<TRadioGroup*>("RadioGroup7")->ItemIndex(), 0);
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(DeskWindowTest, AUserIsFoundByPupilNumberAndHoldsTheTab) {
    const std::string fixedNumber = FixedNumber("10101");
    const auto name = DataValue("Select NAME From Name Where seito_No='10101'");
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        EXPECT_EQ(Text(desk, "Edit3"), QString::fromStdString(fixedNumber));
        EXPECT_EQ(Text(desk, "Edit1"), QStringLiteral("10101"));
        EXPECT_EQ(Text(desk, "Edit6"), QString::fromStdString(name.Text()));
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit4);
        SelectTab(desk, 1);
        EXPECT_EQ(Tab(desk), 0);
        EXPECT_EQ(Text(desk, "Edit3"), QString::fromStdString(fixedNumber));
        Scan(desk, "Edit4", "CANCEL");
        EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
        SelectTab(desk, 1);
        EXPECT_EQ(Tab(desk), 1);
    });
    EXPECT_EQ(
        dialogs->Texts(),
        (std::vector<QString>{"現在貸出処理を行っていますので、他の処理を行うことは出来ません。",
                              "貸出をキャンセルしました。"}));
}

TEST_F(DeskWindowTest, AShortNumberStaysWithoutAWordAndBlocksTheTabs) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "4321");
        EXPECT_EQ(Text(desk, "Edit3"), QStringLiteral("4321"));
        SelectTab(desk, 2);
        EXPECT_EQ(Tab(desk), 0);
        Scan(desk, "Edit3", "99999");
        EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
    });
    EXPECT_EQ(
        dialogs->Texts(),
        (std::vector<QString>{"現在貸出処理を行っていますので、他の処理を行うことは出来ません。",
                              "該当する人はいません。"}));
}

TEST_F(DeskWindowTest, ControlBarcodesSwitchTheTabs) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "RETURN");
        EXPECT_EQ(Tab(desk), 1);
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit5);
        EXPECT_TRUE(desk.findChild<QWidget*>("Button4")->isVisibleTo(&desk));
        EXPECT_FALSE(desk.findChild<QWidget*>("Button3")->isVisibleTo(&desk));
        Scan(desk, "Edit5", "lending");
        EXPECT_EQ(Tab(desk), 0);
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit3);
        EXPECT_TRUE(desk.findChild<QWidget*>("Button3")->isVisibleTo(&desk));
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(DeskWindowTest, BadInputEndsSilentlyOrWithItsMessage) {
    const QString junk[] = {"",        "ABC",  QString(200, '9'), "１２３４５", "ACTION",
                            "LENDING", "!\"#$"};
    OpenDesk([&](TFgyoumu1& desk) {
        for (const QString& text : junk) {
            Scan(desk, "Edit3", text);
            Scan(desk, "Edit4", text);  // no user: the book entry says so
        }
        SelectTab(desk, 1);
        for (const QString& text : junk) Scan(desk, "Edit5", text);
    });
    // 200 nines fill the user field to its 13 characters: a card code of
    // the fixed number 999999, whom nobody carries; in the book field of the
    // return tab they are book 9999999, which is not on loan.
    const QStringList allowed = {QStringLiteral("利用者がいないので、この処理は出来ません。"),
                                 QStringLiteral("該当する人はいません。"),
                                 QStringLiteral("貸出中の本ではありません。")};
    for (const QString& text : dialogs->Texts())
        EXPECT_TRUE(allowed.contains(text)) << text.toStdString();
}

TEST_F(DeskWindowTest, TheHintOfTheReservationUpdateAndTheLabelOfTheOnLoanCheck) {
    OpenDesk([&](TFgyoumu1& desk) {
        auto* button9 = desk.findChild<QWidget*>("Button9");
        ASSERT_NE(button9, nullptr);
        EXPECT_EQ(button9->toolTip(),
                  QStringLiteral("このボタンを押すと、\r\n前年度に予約したデータは新年度の生徒番号や"
                                 "生徒名に変わります。"));
        auto* edit20 = desk.findChild<QWidget*>("Edit20");
        auto* label = desk.findChild<QLabel*>("Label32");
        ASSERT_TRUE(edit20 && label);
        EXPECT_EQ(label->text(), QStringLiteral("図書登録番号"));
        EXPECT_EQ(label->parentWidget(), edit20->parentWidget());
        EXPECT_LE(label->geometry().right(), edit20->geometry().left());
    });
}

TEST_F(DeskWindowTest, ASecondDeskOnTheSameProgramFolderIsRefused) {
    // The other desk holds the pick list and its options row.
    engine::TDBSession session("OtherDesk");
    engine::TDBTable pickList;
    pickList.SetSessionName("OtherDesk");
    pickList.SetDatabaseName(programFolder);
    pickList.SetTableName("WK01");
    pickList.SetExclusive(true);
    pickList.Open();
    OpenDesk([&](TFgyoumu1& desk) {
        // The dates are set although the opening stopped.
        EXPECT_EQ(desk.findChild<QDateEdit*>("DateEdit2")->date(), Today().addDays(14));
        Scan(desk, "Edit3", "10101");
        EXPECT_TRUE(Text(desk, "Edit6").isEmpty());
        // Entering the user field again shows the failure once.
        desk.findChild<QWidget*>("Edit4")->setFocus();
        Settle();
        desk.findChild<QWidget*>("Edit3")->setFocus();
        Settle();
    });
    pickList.Close();
    // The opening, the entry into the user field, the user entry's answer,
    // and the one entry into the field afterwards: nothing more.
    std::vector<Dialogs::Kind> kinds;
    for (const auto& record : dialogs->Records())
        if (record.kind != Dialogs::Kind::Modal) kinds.push_back(record.kind);
    EXPECT_EQ(kinds, (std::vector<Dialogs::Kind>{Dialogs::Kind::Error, Dialogs::Kind::Error,
                                                 Dialogs::Kind::Information, Dialogs::Kind::Error}))
        << dialogs->Describe();
    const auto texts = dialogs->Texts();
    EXPECT_NE(
        std::find(texts.begin(), texts.end(),
                  QStringLiteral("現在、他の場所で貸出処理をしていますので、お待ちください。")),
        texts.end());
}

TEST_F(DeskWindowTest, AnOpeningWhoseFirstDataReadFailsStillLendsByHeadAndTheNewBookRule) {
    MakePlainBooks();
    // Another program holds Reg for itself while this desk opens.
    engine::TDBSession session("OtherDesk");
    engine::TDBTable reg;
    reg.SetSessionName("OtherDesk");
    reg.SetDatabaseName(dataFolder);
    reg.SetTableName("Reg");
    reg.SetExclusive(true);
    reg.Open();
    const std::string user = FixedNumber("10101");
    OpenDesk([&](TFgyoumu1& desk) {
        EXPECT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
        EXPECT_EQ(desk.findChild<QDateEdit*>("DateEdit1")->date(), Today());
        EXPECT_EQ(desk.findChild<QDateEdit*>("DateEdit2")->date(), Today().addDays(14));
        reg.Close();
        desk.findChild<kashidashi::TRadioGroup*>("RadioGroup1")->SetItemIndex(1);  // 団体貸出
        desk.findChild<kashidashi::TRadioGroup*>("RadioGroup6")->SetItemIndex(1);  // no confirmation
        Scan(desk, "Edit3", "10101");
        EXPECT_EQ(desk.Desk().state.NewBookLockDays, 7);
        for (const char* book : {"1", "2", "3", "4"}) Scan(desk, "Edit4", book);
        Scan(desk, "Edit4", "ACTION");
    });
    EXPECT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
    const std::string due = engine::FormatDate(engine::Date{engine::Today().days + 14});
    EXPECT_EQ(RowCount("Select * From kashibo Where NAME_ID='" + user + "' And henkyakuyotei='" +
                       due + "'"),
              4);
}

}  // namespace
}  // namespace desk_test
