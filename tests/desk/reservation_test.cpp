// The tabs 予約 and 予約状況 on the demo school: taking a reservation and its
// number, the queue of a title across its copies, the memo stored with Enter
// only, the list modes and orders, the deletion and the book's flag, the
// reservation update of a new year, and bad input in every field.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

#include "desk_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "grid/LibXGrid.h"
#include "support/widget_keys.h"

namespace desk_test {
namespace {

using Kind = Dialogs::Kind;
using kashidashi::TLibXGrid;

const QString kReserved = QStringLiteral("予約が完了しました。");

class ReservationTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (Stopped()) return;
        MakePlainBooks();
    }
    void TearDown() override {
        engine::SetFixedNow(std::nullopt);
        DeskFixture::TearDown();
    }
    std::string NameOf(const char* pupil) {
        return DataValue(std::string("Select NAME From Name Where seito_No='") + pupil + "'")
            .Text();
    }
    int64_t NumberOf(int book, const std::string& fixed) {
        return DataValue("Select yoyaku_No From yoyaku Where Book_ID=" + std::to_string(book) +
                         " And Name_ID='" + fixed + "'")
            .Integer();
    }
    bool Flagged(int book) {
        return RowCount("Select * From Book Where yoyakuF=True And BOOK_ID=" +
                        std::to_string(book)) == 1;
    }
    // Stored reservations: (book, number, pupil, time of 2026/01/01), with
    // the book's ISBN.
    void Store(std::initializer_list<std::tuple<int, int, const char*, const char*>> rows) {
        for (auto [book, number, pupil, time] : rows) {
            const std::string id = std::to_string(book);
            const engine::Value isbn = DataValue("Select ISBN From Book Where BOOK_ID=" + id);
            RunSql(dataFolder,
                   "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, "
                   "yoyakuDTime) Values (" +
                       id + ", " + std::to_string(number) + ", '" + FixedNumber(pupil) + "', '" +
                       pupil + "', '" + NameOf(pupil) + "', " +
                       (isbn.IsNull() ? "NULL" : "'" + isbn.Text() + "'") + ", '2026/01/01 " +
                       time + "')");
        }
    }
    static void Tab(TFgyoumu1& desk, int tab) {
        desk.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(tab);
        Settle();
    }
    static void Reserve(TFgyoumu1& desk, const char* book, const char* user) {
        Scan(desk, "Edit11", book);
        Scan(desk, "Edit8", user);
    }
    void ExpectNoErrorBox() {
        for (const auto& record : dialogs->Records())
            EXPECT_NE(record.kind, Kind::Error) << record.text.toStdString();
    }
};

TLibXGrid& Grid(TFgyoumu1& desk, const char* name) {
    return *desk.findChild<TLibXGrid*>(name);
}

QStringList Column(TFgyoumu1& desk, const char* grid, const QString& title) {
    return ColumnTexts(Grid(desk, grid), title);
}

// Opens the memo cell of the row of DBGrid5 and types the text into it.
QLineEdit* TypeMemo(TFgyoumu1& desk, int row, const QString& text) {
    return TypeIntoCell(Grid(desk, "DBGrid5"), row, 3, text);
}

TEST_F(ReservationTest, NumbersFollowTheHighestOfTheBookAfterDeletions) {
    const std::string isbn = DataValue("Select ISBN From Book Where BOOK_ID=1").Text();
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit11);
        Scan(desk, "Edit11", "1");
        EXPECT_EQ(Text(desk, "Edit11"), "0000001");
        EXPECT_EQ(Text(desk, "Edit15").toStdString(),
                  DataValue("Select syomei2 From Book Where BOOK_ID=1").Text());
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit8);
        Scan(desk, "Edit8", "10101");
        EXPECT_EQ(Text(desk, "Edit10").toStdString(), NameOf("10101"));
        EXPECT_TRUE(Text(desk, "Edit8").isEmpty());
        EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit11);
        Reserve(desk, "1", "10102");
        EXPECT_EQ(Grid(desk, "DBGrid5").model()->rowCount(), 2);
        RunSql(dataFolder, "Delete From yoyaku Where yoyaku_No=2");
        Reserve(desk, "1", "10103");
        RunSql(dataFolder, "Delete From yoyaku Where yoyaku_No=1");
        Reserve(desk, "1", FixedNumber("10104").c_str());  // a fixed number names the user too
    });
    EXPECT_EQ(NumberOf(1, FixedNumber("10103")), 2);
    EXPECT_EQ(NumberOf(1, FixedNumber("10104")), 3);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Book_ID=1 And Seito_No='10104' And Name='" +
                       NameOf("10104") + "' And ISBN_ID='" + isbn.substr(0, 12) +
                       "' And yoyakubi='" + engine::FormatDate(engine::Today()) + "'"),
              1);
    EXPECT_TRUE(Flagged(1));
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(4, kReserved)) << dialogs->Describe();
}

TEST_F(ReservationTest, ThreeUsersInARowGetOneTwoThree) {
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        for (const char* user : {"10101", "10102", "10103"}) Reserve(desk, "1", user);
    });
    EXPECT_EQ(NumberOf(1, FixedNumber("10101")), 1);
    EXPECT_EQ(NumberOf(1, FixedNumber("10102")), 2);
    EXPECT_EQ(NumberOf(1, FixedNumber("10103")), 3);
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(3, kReserved)) << dialogs->Describe();
}

TEST_F(ReservationTest, TheQueueOfATitleSpansItsCopies) {
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000001' Where BOOK_ID<=2;"
           "Update Book Set ISBN=NULL Where BOOK_ID=3");
    const engine::Date today = engine::Today();
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        engine::SetFixedNow(engine::MakeDateTime(today, 9));
        Reserve(desk, "2", "10102");
        engine::SetFixedNow(engine::MakeDateTime(today, 10));
        Reserve(desk, "1", "10101");
        Reserve(desk, "3", "10103");
        const struct {
            const char* entry;
            const char* shown;
            QStringList names;
        } cases[] = {
            {"1",
             "0000001",
             {QString::fromStdString(NameOf("10102")), QString::fromStdString(NameOf("10101"))}},
            {"0000002",
             "0000002",
             {QString::fromStdString(NameOf("10102")), QString::fromStdString(NameOf("10101"))}},
            {"9784000000019",
             "0000001",
             {QString::fromStdString(NameOf("10102")), QString::fromStdString(NameOf("10101"))}},
            {"3", "0000003", {QString::fromStdString(NameOf("10103"))}},
            {"4", "0000004", {}},
        };
        for (const auto& c : cases) {
            Scan(desk, "Edit11", c.entry);
            EXPECT_EQ(Text(desk, "Edit11"), c.shown) << c.entry;
            EXPECT_EQ(Column(desk, "DBGrid5", "予約者"), c.names) << c.entry;
        }
    });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(3, kReserved)) << dialogs->Describe();
}

TEST_F(ReservationTest, TheUserNumberFollowsTheMode) {
    Store({{1, 1, "10101", "09:00:00"}});
    for (int mode : {4, 5, 0}) {
        Settings().UserNumberMode = mode;
        OpenDesk([&](TFgyoumu1& desk) {
            Tab(desk, 2);
            Scan(desk, "Edit11", "1");
            const QString expected = mode == 4   ? QStringLiteral("10101")
                                     : mode == 5 ? QString::fromStdString(FixedNumber("10101"))
                                                 : QString();
            EXPECT_EQ(Column(desk, "DBGrid5", "利用者番号"), QStringList{expected}) << mode;
        });
    }
}

TEST_F(ReservationTest, OnlyAMemoEndedWithEnterIsStored) {
    Store({{1, 1, "10101", "09:00:00"}, {1, 2, "10102", "10:00:00"}});
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        Scan(desk, "Edit11", "1");
        TLibXGrid& grid = Grid(desk, "DBGrid5");
        EXPECT_EQ(grid.FixedCols(), 3);
        EXPECT_FALSE(grid.CanAppend());
        EXPECT_FALSE(grid.CanDelete());
        EXPECT_EQ(grid.Columns(3).ImeMode, kashidashi::TImeMode::imHira);
        if (QLineEdit* editor = TypeMemo(desk, 0, QStringLiteral("電話で連絡済み")))
            Press(*editor, Qt::Key_Return);
        EXPECT_EQ(Column(desk, "DBGrid5", "メモ").value(0), "電話で連絡済み");
        if (QLineEdit* editor = TypeMemo(desk, 1, QStringLiteral("来週来館")))
            Press(*editor, Qt::Key_Up);
        Scan(desk, "Edit11", "1");
        EXPECT_EQ(Column(desk, "DBGrid5", "メモ"), QStringList({"電話で連絡済み", ""}));
    });
    EXPECT_EQ(DataValue("Select Memo From yoyaku Where yoyaku_No=1").Text(), "電話で連絡済み");
    EXPECT_TRUE(DataValue("Select Memo From yoyaku Where yoyaku_No=2").IsNull());
    ExpectNoErrorBox();
}

TEST_F(ReservationTest, TheListsOfTheStatusTabAndTheirOrders) {
    RunSql(dataFolder, "Update Book Set ISBN='978400000001' Where BOOK_ID=5 Or BOOK_ID=7");
    Store({{7, 1, "10103", "09:00:00"},
           {5, 1, "10101", "11:00:00"},
           {5, 2, "10102", "08:00:00"},
           {6, 1, "10101", "10:00:00"}});
    RunSql(dataFolder,
           "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashiF, henkyakuyotei) Values "
           "(6, '" +
               FixedNumber("10105") + "', '1', '2026/02/03')");
    const QString books = QStringLiteral("図書番号");
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 3);
        for (const char* panel : {"Panel5", "Panel6", "Panel8"})
            EXPECT_FALSE(desk.findChild<QWidget*>(panel)->isVisible()) << panel;
        const struct {
            const char* click;
            const char* panel;
            QStringList books;
        } orders[] = {
            {"RadioGroup3_2", "Panel8", {"0000006", "0000005", "0000005", "0000007"}},  // 利用者別
            {"RadioGroup4_1", "Panel8", {"0000005", "0000005", "0000006", "0000007"}},
            {"RadioGroup4_2", "Panel8", {"0000005", "0000007", "0000006", "0000005"}},
            {"RadioGroup3_0", "Panel5", {"0000005", "0000007", "0000006", "0000005"}},  // kept
        };
        for (const auto& o : orders) {
            Click(desk, o.click);
            Settle();
            EXPECT_TRUE(desk.findChild<QWidget*>(o.panel)->isVisible()) << o.click;
            EXPECT_EQ(Column(desk, "DBGrid6", books), o.books) << o.click;
        }
        EXPECT_EQ(Column(desk, "DBGrid6", "貸出中"), QStringList({"", "", "1", ""}));
        EXPECT_EQ(Column(desk, "DBGrid6", "返却予定日").value(2), "2026/02/03");
        const struct {
            const char* field;
            QString entry;
            QStringList books;
        } searches[] = {
            {"Edit12", "10101", {"0000006", "0000005"}},
            {"Edit12", QString::fromStdString(FixedNumber("10102")), {"0000005"}},
            {"Edit14", "0000007", {"0000005", "0000007", "0000005"}},  // the title's queue
            {"Edit14", "6", {"0000006"}},
        };
        for (const auto& s : searches) {
            if (s.field == std::string("Edit14")) Click(desk, "RadioGroup3_1");
            Scan(desk, s.field, s.entry);
            EXPECT_EQ(Column(desk, "DBGrid6", books), s.books) << s.entry.toStdString();
        }
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(ReservationTest, DeletingTheLastReservationOfABookClearsItsFlag) {
    Store({{3, 1, "10101", "09:00:00"}, {3, 2, "10102", "10:00:00"}, {3, 3, "10101", "11:00:00"}});
    RunSql(dataFolder, "Update Book Set yoyakuF=True Where BOOK_ID=3");
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 3);
        Click(desk, "Button5");  // no list, no question
        Click(desk, "RadioGroup3_1");
        Scan(desk, "Edit14", "3");
        dialogs->Answer(Kind::Question, Dialogs::No);
        Click(desk, "Button5");
        EXPECT_EQ(Column(desk, "DBGrid6", "予約者").size(), 3);
        dialogs->Answer(Kind::Question, Dialogs::Yes);
        Click(desk, "Button5");  // both of the first user's reservations of book 3
        EXPECT_EQ(Column(desk, "DBGrid6", "予約者"),
                  QStringList{QString::fromStdString(NameOf("10102"))});
        EXPECT_TRUE(Flagged(3));
        dialogs->Answer(Kind::Question, Dialogs::Yes);
        Click(desk, "Button5");
        EXPECT_TRUE(Column(desk, "DBGrid6", "予約者").isEmpty());
    });
    EXPECT_FALSE(Flagged(3));
    EXPECT_EQ(RowCount("Select * From yoyaku"), 0);
    const QString ask = QStringLiteral("ポインタ行の貸出予約を解消してもいいですか。");
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>(3, ask));
    for (const auto& record : dialogs->Records())
        if (record.kind == Kind::Question) {
            EXPECT_EQ(record.look, Kind::Warning);
        }
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(ReservationTest, TheBookTheEntryFoundIsTheOneReserved) {
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        Scan(desk, "Edit11", "1");
        SetText(desk, "Edit11", "abc");  // edited without Enter
        Scan(desk, "Edit8", "10101");
        SetText(desk, "Edit11", "0000005");
        Scan(desk, "Edit8", "10102");
        Scan(desk, "Edit11", "9999");  // no such book
        SetText(desk, "Edit11", "0000001");
        Scan(desk, "Edit8", "10103");
    });
    EXPECT_EQ(RowCount("Select * From yoyaku Where Book_ID=1"), 2);
    EXPECT_EQ(RowCount("Select * From yoyaku"), 2);
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{kReserved, kReserved, "該当図書がありません。"}));
}

TEST_F(ReservationTest, AFailedReservationStoresNothing) {
    DataQuery book("OtherDesk", dataFolder);
    book->RequestLive = true;
    book->SQL().Add("Select * From Book Where BOOK_ID=1");
    book->Open();
    book->Edit();  // another desk holds the book's row
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 2);
        Reserve(desk, "1", "10101");
        EXPECT_EQ(Column(desk, "DBGrid5", "予約者").size(), 0);
        book->Cancel();
        Reserve(desk, "1", "10101");
        EXPECT_EQ(Column(desk, "DBGrid5", "予約者").size(), 1);
    });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{"正常に予約が出来ませんでした。", kReserved}));
    EXPECT_EQ(NumberOf(1, FixedNumber("10101")), 1);
    EXPECT_EQ(RowCount("Select * From yoyaku"), 1);
}

TEST_F(ReservationTest, TheUpdateGivesReservationsThisYearsNumbersAndNames) {
    Settings().UserNumberMode = 4;
    const std::string moved = FixedNumber("10203");
    Store({{1, 1, "10203", "09:00:00"}, {2, 1, "10101", "10:00:00"}});
    RunSql(dataFolder,
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name) Values "
           "(3, 1, '999999', '10999', '卒業生');"
           "Update Name Set seito_No='20105', NAME='新年度　花子' Where NAME_ID='" +
               moved + "'");
    const std::string before = NameOf("10101");
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 3);
        EXPECT_TRUE(desk.findChild<QWidget*>("Button9")->isVisible());
        dialogs->Answer(Kind::Question, Dialogs::No);
        Click(desk, "Button9");
        EXPECT_EQ(RowCount("Select * From yoyaku Where Seito_No='10203'"), 1);
        dialogs->Answer(Kind::Question, Dialogs::Yes);
        Click(desk, "Button9");
    });
    EXPECT_EQ(RowCount("Select * From yoyaku Where Seito_No='20105' And Name='新年度　花子' And "
                       "Name_ID='" +
                       moved + "'"),
              1);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Seito_No='10101' And Name='" + before + "'"), 1);
    EXPECT_EQ(RowCount("Select * From yoyaku Where Name_ID='999999' And Seito_No='10999'"), 1);
    EXPECT_EQ(dialogs->Texts().size(), 2u);
    EXPECT_EQ(dialogs->Texts().at(0),
              "前年度の生徒番号や生徒名を今年度に更新します。\r\n"
              "他の場所で図書ソフトが動いていないことを確認して実行してください。");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    Settings().UserNumberMode = 5;
    OpenDesk([&](TFgyoumu1& desk) {
        Tab(desk, 3);
        EXPECT_FALSE(desk.findChild<QWidget*>("Button9")->isVisible());
    });
}

TEST_F(ReservationTest, BadInputIsAnsweredOrPassedOverSilently) {
    const QString noBook = QStringLiteral("該当図書がありません。");
    const QString unknownIsbn = QStringLiteral("この図書のISBNコードは、まだ登録されていません。");
    const std::string digits200(200, '9');
    const struct {
        int tab;
        const char* field;
        std::string text;
        QString message;  // empty: silence
    } cases[] = {
        {2, "Edit11", "abc", noBook},
        {2, "Edit11", "", noBook},
        {2, "Edit11", digits200, noBook},
        {2, "Edit11", "9784999999999", unknownIsbn},
        {2, "Edit8", "10101", ""},  // no book entered
        {3, "Edit12", "abc", ""},
        {3, "Edit12", "", ""},
        {3, "Edit12", "1234", "該当者はいません"},
        {3, "Edit12", "99999", "該当者はいません"},
        {3, "Edit12", digits200, "該当者はいません"},
        {3, "Edit14", "abc", ""},
        {3, "Edit14", "", ""},
        {3, "Edit14", "99999", "この図書は予約者がいません"},
        {3, "Edit14", digits200, "この図書は予約者がいません"},
        {3, "Edit14", "1234567890123", unknownIsbn},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        for (const auto& c : cases) {
            Tab(desk, c.tab);
            size_t before = dialogs->Texts().size();
            Scan(desk, c.field, QString::fromStdString(c.text));
            const std::vector<QString> all = dialogs->Texts();
            const std::vector<QString> said(all.begin() + before, all.end());
            EXPECT_EQ(said, c.message.isEmpty() ? std::vector<QString>{}
                                                : std::vector<QString>{c.message})
                << c.field << " " << c.text.substr(0, 20);
            if (std::string(c.field) != "Edit8") {  // without a book Enter does nothing
                EXPECT_TRUE(Text(desk, c.field).isEmpty())
                    << c.field << " " << c.text.substr(0, 20);
            }
        }
        // A user entry that names nobody, after a book was found.
        Tab(desk, 2);
        for (const char* user : {"abc", "", "1234", "99999", digits200.c_str()})
            Reserve(desk, "1", user);
    });
    ExpectNoErrorBox();
    const std::vector<QString> all = dialogs->Texts();
    EXPECT_EQ(std::count(all.begin(), all.end(), QStringLiteral("該当する生徒はいません。")),
              2)  // 99999, and 200 digits cut to the field's 13: a card code
        << dialogs->Describe();
    EXPECT_EQ(RowCount("Select * From yoyaku"), 0);
}

}  // namespace
}  // namespace desk_test
