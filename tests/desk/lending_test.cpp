// Lending at the desk on the demo school: picking with its checks in order,
// the loan limit, reservations, and the all-or-nothing execution.
#include <QApplication>
#include <QColor>
#include <QKeyEvent>
#include <QTimer>

#include "desk/U_kakunin.h"
#include "desk_fixture.h"
#include "engine/common/dates.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using Kind = Dialogs::Kind;

class LendingTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (Stopped()) return;
        MakePlainBooks();
    }
    // Opens the desk with the confirmation switched off unless told.
    void Lending(const std::function<void(TFgyoumu1&)>& body) {
        OpenDesk([&](TFgyoumu1& desk) {
            desk.findChild<kashidashi::TRadioGroup*>("RadioGroup6")->SetItemIndex(1);
            body(desk);
        });
    }
    static int PickCount(TFgyoumu1& desk) {
        return static_cast<int>(desk.Desk().WKT01.RecordCount());
    }
};

TEST_F(LendingTest, ThreeBooksAreLentInOneGoAndConfirmed) {
    const std::string user = FixedNumber("10101");
    QString confirmation;
    QColor colour;
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        for (const char* book : {"1", "0000002", "0000000000003"}) Scan(desk, "Edit4", book);
        EXPECT_EQ(PickCount(desk), 3);
        dialogs->Drive("kashidashi::Tkakunin", [&](QDialog& w) {
            confirmation = static_cast<kashidashi::Tkakunin&>(w).Text();
            colour = static_cast<kashidashi::Tkakunin&>(w).Colour();
        });
        Scan(desk, "Edit4", "ACTION");
        EXPECT_TRUE(Text(desk, "Edit3").isEmpty());
        EXPECT_EQ(PickCount(desk), 0);
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit3);
    });
    const QString due =
        QString::fromStdString(engine::FormatDate(engine::Date{engine::Today().days + 14}));
    EXPECT_EQ(confirmation, "貸出が出来るようになりました。\r\n返却日は" + due + "です。");
    EXPECT_EQ(colour, QColor(128, 255, 128));
    EXPECT_EQ(RowCount("Select * From kashibo Where kashidashiF='1' And NAME_ID='" + user +
                       "' And henkyakuyotei='" + due.toStdString() + "'"),
              3);
    EXPECT_EQ(RowCount("Select * From Book Where kashidashiF=True"), 3);
    EXPECT_EQ(DataValue("Select mihenkyakuSU From Name Where NAME_ID='" + user + "'").Integer(), 3);
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(LendingTest, TheChecksComeInTheirOrder) {
    RunSql(dataFolder,
           "Update Book Set kintaiF=True, haikiF=True Where BOOK_ID=4;"
           "Update Book Set haikiF=True Where BOOK_ID=5;"
           "Update Book Set kashidashiF=True Where BOOK_ID=6;"
           "Update Book Set tourokubi='" +
               engine::FormatDate(engine::Today()) + "' Where BOOK_ID=7");
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        for (const char* book : {"7", "4", "5", "6", "1", "1"}) Scan(desk, "Edit4", book);
        EXPECT_EQ(PickCount(desk), 1);
        EXPECT_TRUE(Text(desk, "Edit4").isEmpty());
    });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{"この本は新刊図書ですので、まだ貸出が出来ません。",
                                    "この本は「貸出禁止図書」です。", "この本は「廃棄図書」です。",
                                    "この本は現在、貸出中です。", "既に選択しています。"}));
}

TEST_F(LendingTest, TheLoanLimitCountsBooksAlreadyOnLoan) {
    const std::string user = FixedNumber("10102");
    RunSql(dataFolder, "Update Name Set mihenkyakuSU=2 Where NAME_ID='" + user + "'");
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10102");
        Scan(desk, "Edit4", "1");
        Scan(desk, "Edit4", "2");
        EXPECT_EQ(PickCount(desk), 1);
        desk.findChild<kashidashi::TRadioGroup*>("RadioGroup1")->SetItemIndex(1);  // 団体貸出
        Scan(desk, "Edit4", "2");
        EXPECT_EQ(PickCount(desk), 2);
        Scan(desk, "Edit4", "CANCEL");
    });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{"貸出数がオーバーしています。", "貸出をキャンセルしました。"}));
    EXPECT_EQ(RowCount("Select * From kashibo"), 0);
}

TEST_F(LendingTest, NothingIsStoredWhenAnyBookFails) {
    struct Case {
        const char* name;
        std::string meanwhile;  // what another desk does after the books were picked
    };
    const Case cases[] = {
        {"empty pick list", ""},
        {"a picked book deleted", "Delete From Book Where BOOK_ID=3"},
        {"a picked book lent by another desk", "Update Book Set kashidashiF=True Where BOOK_ID=2"},
    };
    for (const auto& c : cases) {
        dialogs = nullptr;
        dialogs = std::make_unique<ScriptedDialogs>();
        Lending([&](TFgyoumu1& desk) {
            Scan(desk, "Edit3", "10101");
            if (!c.meanwhile.empty()) {
                Scan(desk, "Edit4", "1");
                Scan(desk, "Edit4", c.meanwhile.find("=3") != std::string::npos ? "3" : "2");
                RunSql(dataFolder, c.meanwhile);
            }
            Scan(desk, "Edit4", "ACTION");
        });
        EXPECT_EQ(dialogs->Texts(),
                  std::vector<QString>{"貸出処理が正常に出来ませんでしたので取り消します。"})
            << c.name;
        EXPECT_EQ(RowCount("Select * From kashibo"), 0) << c.name;
        EXPECT_EQ(RowCount("Select * From Book Where BOOK_ID=1 And kashidashiF=True"), 0);
        EXPECT_EQ(RowCount("Select * From Name Where mihenkyakuSU>0"), 0) << c.name;
    }
}

TEST_F(LendingTest, AReservationOfSomebodyElseAsksAndTheBorrowersOwnAreFulfilled) {
    const std::string first = FixedNumber("10101"), second = FixedNumber("10102");
    // Books 1 and 2 are copies of one title; 10102 reserved it first, then 10101.
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000001' Where BOOK_ID<=2;"
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID, yoyakuDTime) Values "
           "(1, 1, '" +
               second +
               "', '978400000001', '2026/01/01 09:00:00'), "
               "(2, 1, '" +
               first + "', '978400000001', '2026/01/02 09:00:00')");
    int windows = 0;
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) { ++windows, w.close(); });
        Scan(desk, "Edit4", "2");
        EXPECT_EQ(PickCount(desk), 0);
        EXPECT_EQ(Text(desk, "Edit4"), QStringLiteral("0000002"));
        Scan(desk, "Edit4", "CANCEL");
        Scan(desk, "Edit3", "10102");  // first in line: no window
        Scan(desk, "Edit4", "2");
        Scan(desk, "Edit4", "ACTION");
    });
    EXPECT_EQ(windows, 1);
    // 10102's reservation of the title is fulfilled; 10101's remains on book 2.
    EXPECT_EQ(RowCount("Select * From yoyaku Where Name_ID='" + second + "'"), 0);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Name_ID='" + first + "'"), 1);
    EXPECT_EQ(RowCount("Select * From Book Where BOOK_ID=2 And yoyakuF=True"), 1);
}

TEST_F(LendingTest, TheReservedFlagIsWorkedOutAfterTheBorrowersOwnReservationGoes) {
    const std::string first = FixedNumber("10101"), second = FixedNumber("10102");
    // Copies 1 and 2 of one title: 10101 reserved copy 2 first, 10102 copy 1.
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000001', yoyakuF=True Where BOOK_ID<=2;"
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, ISBN_ID, yoyakuDTime) Values "
           "(2, 1, '" +
               first +
               "', '978400000001', '2026/01/01 09:00:00'), "
               "(1, 1, '" +
               second + "', '978400000001', '2026/01/02 09:00:00')");
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "2");
        Scan(desk, "Edit4", "ACTION");
    });
    EXPECT_EQ(RowCount("Select * From kashibo Where BOOK_ID=2 And NAME_ID='" + first + "'"), 1);
    EXPECT_EQ(RowCount("Select * From Book Where BOOK_ID=2 And yoyakuF=False"), 1);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Name_ID='" + first + "'"), 0);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Book_ID=1 And Name_ID='" + second + "'"), 1);
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(LendingTest, ABookIsNewUntilTheLockDaysHavePassed) {
    // The demo school waits 7 days: registered 6 days ago is new, 7 days ago is not.
    const engine::Date today = engine::Today();
    RunSql(dataFolder, "Update Book Set tourokubi='" +
                           engine::FormatDate(engine::Date{today.days - 6}) +
                           "' Where BOOK_ID=1; Update Book Set tourokubi='" +
                           engine::FormatDate(engine::Date{today.days - 7}) + "' Where BOOK_ID=2");
    // At midnight, seven days are exactly seven days.
    engine::SetFixedNow(engine::MakeDateTime(today, 0));
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        dialogs->Answer(Kind::Information, Dialogs::Ok);
        Scan(desk, "Edit4", "1");
        EXPECT_EQ(PickCount(desk), 0);
        Scan(desk, "Edit4", "2");
        EXPECT_EQ(PickCount(desk), 1);
    });
    engine::SetFixedNow(std::nullopt);
    ASSERT_EQ(dialogs->Texts().size(), 1u) << dialogs->Describe();
    EXPECT_EQ(dialogs->Texts()[0], QStringLiteral("この本は新刊図書ですので、まだ貸出が出来ません。"));
}

TEST_F(LendingTest, IsbnScansUnknownNumbersAndUsersNotFound) {
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000002', kashidashiF=True Where BOOK_ID=3;"
           "Update Book Set ISBN='978400000002' Where BOOK_ID=4");
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "9784000000029");  // the copy on the shelf
        EXPECT_EQ(desk.Desk().state.CurrentBookId, 4);
        Scan(desk, "Edit4", "9784999999999");
        EXPECT_EQ(Text(desk, "Edit4"), QStringLiteral("9784999999999"));
        dialogs->Answer(Kind::Question, Dialogs::No);
        Scan(desk, "Edit4", "0099999");
        desk.findChild<kashidashi::TRadioGroup*>("RadioGroup5")->SetItemIndex(1);  // 無効
        Scan(desk, "Edit4", "0099999");
        EXPECT_EQ(PickCount(desk), 1);
        Scan(desk, "Edit4", "CANCEL");
        Scan(desk, "Edit3", "1234567");  // found nobody: no books
        Scan(desk, "Edit4", "5");
    });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{
                  "この図書のISBNコードは、まだ登録されていません。",
                  "この番号の図書はありません。今すぐ簡易登録をしますか。",
                  "この図書はまだ図書登録が出来ていませんので、貸出が出来ません。",
                  "貸出をキャンセルしました。", "利用者がいないので、この処理は出来ません。"}));
}

TEST_F(LendingTest, ASecondF1DuringTheFlashDoesNothing) {
    Lending([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "1");
        auto* edit4 = desk.findChild<QWidget*>("Edit4");
        bool flashShown = false;
        // While 貸出完了 shows, the desk still handles keys: F1 comes again.
        QTimer::singleShot(100, [&] {
            flashShown = desk.findChild<QWidget*>("Label18")->isVisibleTo(&desk);
            QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(edit4, &f1);
        });
        Scan(desk, "Edit4", "ACTION");
        EXPECT_TRUE(flashShown);
    });
    EXPECT_EQ(RowCount("Select * From kashibo"), 1);
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(LendingTest, AUserWhoForgotTheCardIsFoundByName) {
    Settings().UserNumberMode = 5;  // users known by their fixed number
    const std::string name = DataValue("Select NAME From Name Where seito_No='10101'").Text();
    const std::string part = name.substr(name.size() - 6);  // the given name's last two letters
    Lending([&](TFgyoumu1& desk) {
        dialogs->Drive("kashidashi::TName_Search", [&](QDialog& search) {
            SetText(search, "Edit1", QString::fromStdString(part));
            PressEnter(search, "Edit1");
            Click(search, "BitBtn1");
        });
        ASSERT_TRUE(desk.findChild<QWidget*>("Button7")->isVisibleTo(&desk));
        Click(desk, "Button7");
        EXPECT_EQ(Text(desk, "Edit6"), QString::fromStdString(name));
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit4);
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
