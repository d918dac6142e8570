// The return tab on the real desk window over the demo school: the return
// and the lending cancellation, a book not on loan, the ISBN form with the
// holder picker, the confirmation, the reservation list after the commit,
// engine failures that undo the return, and bad input.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <filesystem>

#include <sqlite3.h>

#include "data/U_DM.h"
#include "desk/U_kakunin.h"
#include "desk_fixture.h"
#include "engine/common/dates.h"
#include "engine/dataset/field.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/session.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using kashidashi::TRadioGroup;

const QString kNotOnLoan = QStringLiteral("貸出中の本ではありません。");
const QString kUndone = QStringLiteral("返却処理が正常に出来ませんでしたので取り消します。");
const QString kUnknownIsbn = QStringLiteral("この図書のISBNコードは、まだ登録されていません。");
constexpr const char* kLoanDate = "2024/05/01";
// Two copies of one title, and a title of which no copy is lent.
constexpr const char* kSharedIsbn = "978499900001";
constexpr const char* kQuietIsbn = "978499900002";

class ReturnTest : public DeskFixture {
  protected:
    // An open loan of the book to the user, as a lending leaves it, and the
    // user's stored count.
    void Lend(int book, int pupil, int count) {
        const std::string fixed = FixedNumber(std::to_string(pupil)), b = std::to_string(book);
        RunSql(dataFolder,
               "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, kashidashiF, seitoNo,"
               " kashidashibi) VALUES (" +
                   b + ", '" + fixed + "', '2024/05/15', '1', '" + std::to_string(pupil) + "', '" +
                   kLoanDate + "');UPDATE Book SET kashidashiF = True WHERE BOOK_ID = " + b +
                   ";UPDATE Name SET mihenkyakuSU = " + std::to_string(count) +
                   " WHERE NAME_ID = '" + fixed + "'");
    }
    void SetIsbn(int book, const char* isbn12) {
        RunSql(dataFolder, "UPDATE Book SET ISBN = '" + std::string(isbn12) +
                               "' WHERE BOOK_ID = " + std::to_string(book));
    }

    // The rows a statement reads, from a session of its own.
    int64_t Rows(const std::string& select) {
        DataQuery query("KxReturnTestRows", dataFolder);
        query->SQL().Add(select);
        query->Open();
        const int64_t rows = query->RecordCount();
        query->Close();
        return rows;
    }
    int64_t OpenLoans(int book) {
        return Rows("SELECT BOOK_ID FROM kashibo WHERE kashidashiF = '1' AND BOOK_ID = " +
                    std::to_string(book));
    }
    int64_t LoanRows(int book) {
        return Rows("SELECT BOOK_ID FROM kashibo WHERE BOOK_ID = " + std::to_string(book));
    }
    int64_t UserCount(int pupil) {
        return DataValue("SELECT mihenkyakuSU FROM Name WHERE seito_No = '" +
                         std::to_string(pupil) + "'")
            .Integer();
    }
    bool BookLent(int book) {
        engine::Value v =
            DataValue("SELECT kashidashiF FROM Book WHERE BOOK_ID = " + std::to_string(book));
        return !v.IsNull() && v.Bool();
    }
    QString BookText(int book, const char* column) {
        engine::Value v = DataValue(std::string("SELECT ") + column +
                                    " FROM Book WHERE BOOK_ID = " + std::to_string(book));
        return v.IsNull() ? QString() : QString::fromStdString(v.Text());
    }
    QString UserText(int pupil, const char* column) {
        return QString::fromStdString(DataValue(std::string("SELECT ") + column +
                                                " FROM Name WHERE seito_No = '" +
                                                std::to_string(pupil) + "'")
                                          .Text());
    }

    static void ToReturnTab(TFgyoumu1& desk) { Scan(desk, "Edit3", "RETURN"); }
    static TRadioGroup& Group(TFgyoumu1& desk, const char* name) {
        return *desk.findChild<TRadioGroup*>(name);
    }
    static QString Caption(TFgyoumu1& desk) { return desk.findChild<QLabel*>("Label31")->text(); }
    // The books the desk lists as still held (DBGrid4).
    static std::vector<int64_t> Unreturned(TFgyoumu1& desk) {
        std::vector<int64_t> books;
        auto& query = desk.Desk().Query2;
        if (!query.Active()) return books;
        for (query.First(); !query.Eof(); query.Next())
            books.push_back(query.FieldByName("book_ID").AsInteger());
        return books;
    }
    // The confirmation, checked and closed.
    void ExpectConfirmation() {
        dialogs->Drive("kashidashi::Tkakunin", [](QDialog& w) {
            auto& kakunin = static_cast<kashidashi::Tkakunin&>(w);
            EXPECT_EQ(kakunin.Text(), QStringLiteral("返却が正常に出来ました。"));
            EXPECT_EQ(kakunin.Colour(), QColor(255, 255, 0));
            w.accept();
        });
    }
    void ExpectScriptDone() {
        EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
        EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    }
};

// --- Return and cancellation ------------------------------------------------

TEST_F(ReturnTest, EachModeEndsTheLoanFreesTheBookAndLowersTheCountNeverBelowZero) {
    const struct {
        const char* name;
        int book, pupil, count;
        const char* scan;
        int mode;
        int confirmation;  // RadioGroup7: 0 あり, 1 なし
        int64_t countAfter;
        const char* caption;
    } cases[] = {
        {"return", 123, 10101, 2, "0000123", 0, 0, 1, "返却図書の確認"},
        {"cancellation", 124, 10102, 1, "124", 1, 0, 0, "貸出後取消図書の確認"},
        {"count already 0", 125, 10103, 0, "0000000000125", 0, 1, 0, "返却図書の確認"},
    };
    for (const auto& c : cases) Lend(c.book, c.pupil, c.count);
    Lend(126, 10101, 2);  // the first borrower keeps this one
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            if (c.confirmation == 0) ExpectConfirmation();
            Group(desk, "RadioGroup2").SetItemIndex(c.mode);
            Group(desk, "RadioGroup7").SetItemIndex(c.confirmation);
            Scan(desk, "Edit5", c.scan);
            ExpectScriptDone();
            EXPECT_EQ(OpenLoans(c.book), 0);
            EXPECT_EQ(LoanRows(c.book), c.mode == 0 ? 1 : 0);
            if (c.mode == 0) {
                const std::string row = " FROM kashibo WHERE BOOK_ID = " + std::to_string(c.book);
                EXPECT_TRUE(DataValue("SELECT kashidashiF" + row).IsNull());
                EXPECT_EQ(DataValue("SELECT henkyakubi" + row), engine::Value(engine::Today()));
            }
            EXPECT_FALSE(BookLent(c.book));
            EXPECT_EQ(UserCount(c.pupil), c.countAfter);
            EXPECT_EQ(Caption(desk), QString::fromUtf8(c.caption));
            EXPECT_EQ(Text(desk, "Edit16"), QString::number(c.book));
            EXPECT_EQ(Text(desk, "Edit9"), BookText(c.book, "syomei2"));
            EXPECT_EQ(Text(desk, "Edit17"), BookText(c.book, "seikyu"));
            EXPECT_FALSE(Text(desk, "Edit18").isEmpty());
            EXPECT_EQ(Text(desk, "Edit2"), UserText(c.pupil, "NAME"));
            EXPECT_EQ(Text(desk, "Edit19"), QString::number(c.pupil));
            EXPECT_EQ(Text(desk, "Edit21"), QString::fromUtf8(kLoanDate));
            EXPECT_TRUE(Text(desk, "Edit5").isEmpty());
            EXPECT_EQ(Group(desk, "RadioGroup2").ItemIndex(), 0);
            EXPECT_EQ(desk.Desk().state.focus, DeskEdit::Edit5);
            EXPECT_FALSE(kashidashi::TDM::Instance().DBDatabase1.InTransaction());
            // The borrower's list shows what they still hold.
            const auto held = c.pupil == 10101 ? std::vector<int64_t>{126} : std::vector<int64_t>{};
            EXPECT_EQ(Unreturned(desk), held);
        }
    });
    EXPECT_TRUE(BookLent(126));
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

TEST_F(ReturnTest, ACancellationRemovesTheOpenLoanAndKeepsTheBooksReturnedOnes) {
    RunSql(dataFolder,
           "INSERT INTO kashibo (BOOK_ID, NAME_ID, henkyakuyotei, henkyakubi, seitoNo,"
           " kashidashibi) VALUES (150, '" +
               FixedNumber("10102") + "', '2024/04/15', '2024/04/10', '10102', '2024/04/01')");
    Lend(150, 10101, 1);
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        ExpectConfirmation();
        Group(desk, "RadioGroup2").SetItemIndex(1);  // 貸出取消
        Scan(desk, "Edit5", "150");
    });
    EXPECT_EQ(OpenLoans(150), 0);
    EXPECT_EQ(Rows("SELECT BOOK_ID FROM kashibo WHERE BOOK_ID = 150 AND henkyakubi = '2024/04/10'"),
              1);
    EXPECT_EQ(LoanRows(150), 1);
    EXPECT_EQ(UserCount(10101), 0);
    ExpectScriptDone();
}

TEST_F(ReturnTest, ABookNotOnLoanIsSaidSoAndNothingChanges) {
    SetIsbn(7, kQuietIsbn);
    Lend(130, 10101, 1);
    RunSql(dataFolder, "UPDATE kashibo SET kashidashiF = NULL WHERE BOOK_ID = 130");  // returned
    const struct {
        const char* scan;
        int mode;
        QString message;
        int modeAfter;
    } cases[] = {
        {"0000200", 0, kNotOnLoan, 0},          // on the shelf
        {"130", 1, kNotOnLoan, 0},              // returned before
        {"99999999", 1, kNotOnLoan, 0},         // no book carries the number
        {"9784999000028", 1, kNotOnLoan, 0},    // ISBN of a title nobody holds
        {"9784999000097", 1, kUnknownIsbn, 1},  // ISBN of no book: the entry stays
    };
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.scan);
            const size_t shown = dialogs->Texts().size();
            dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
            Group(desk, "RadioGroup2").SetItemIndex(c.mode);
            Scan(desk, "Edit5", c.scan);
            ASSERT_EQ(dialogs->Texts().size(), shown + 1) << dialogs->Describe();
            EXPECT_EQ(dialogs->Texts().back(), c.message);
            EXPECT_EQ(Group(desk, "RadioGroup2").ItemIndex(), c.modeAfter);
            EXPECT_EQ(Text(desk, "Edit5").isEmpty(), c.message == kNotOnLoan);
            EXPECT_TRUE(Text(desk, "Edit2").isEmpty());
            EXPECT_TRUE(Text(desk, "Edit9").isEmpty());
        }
    });
    EXPECT_EQ(UserCount(10101), 1);
    EXPECT_EQ(LoanRows(130), 1);
    EXPECT_EQ(Rows("SELECT BOOK_ID FROM kashibo"), 1);
    ExpectScriptDone();
}

// --- The ISBN form ------------------------------------------------------------

// Moves the picker's current row down, as the operator's arrow key does.
void Down(QDialog& picker) {
    auto* grid = picker.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    ASSERT_NE(grid, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(grid, &press);
}

QStringList Holders(QDialog& picker) {
    auto* grid = picker.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    QStringList names;
    for (int r = 0; grid && r < grid->model()->rowCount(); ++r)
        names << grid->model()->index(r, 1).data().toString();
    return names;
}

TEST_F(ReturnTest, AnIsbnReturnsTheCopyOfTheHolderThePickerNames) {
    SetIsbn(5, kSharedIsbn);
    SetIsbn(6, kSharedIsbn);
    Lend(5, 10101, 1);
    Lend(6, 10102, 1);
    RunSql(dataFolder, "UPDATE kashibo SET ISBN_ID = '978499900001'");
    const QString first = UserText(10101, "NAME"), second = UserText(10102, "NAME");
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        dialogs->Drive("kashidashi::TFhenkyaku2", [&](QDialog& w) {
            EXPECT_EQ(Holders(w), QStringList({first, second}));
            Down(w);
            Click(w, "BitBtn1");
        });
        ExpectConfirmation();
        Scan(desk, "Edit5", "9784999000010");
        EXPECT_EQ(OpenLoans(6), 0);
        EXPECT_EQ(OpenLoans(5), 1);
        EXPECT_EQ(Text(desk, "Edit2"), second);
        dialogs->Drive("kashidashi::TFhenkyaku2", [&](QDialog& w) {
            EXPECT_EQ(Holders(w), QStringList({first}));
            w.close();  // however it closes, its row counts
        });
        ExpectConfirmation();
        Scan(desk, "Edit5", "9784999000010");
        EXPECT_EQ(OpenLoans(5), 0);
        EXPECT_EQ(Text(desk, "Edit16"), QStringLiteral("5"));
        // Nobody holds a copy: the first copy, which is not on loan.
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
        Scan(desk, "Edit5", "9784999000010");
    });
    EXPECT_EQ(UserCount(10101), 0);
    EXPECT_EQ(UserCount(10102), 0);
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{kNotOnLoan});
    ExpectScriptDone();
}

// --- After the commit -----------------------------------------------------------

TEST_F(ReturnTest, TheReservationListComesAfterTheCommitAndOnlyWhenSomeoneWaits) {
    SetIsbn(8, kSharedIsbn);
    SetIsbn(9, kSharedIsbn);
    Lend(8, 10101, 1);
    Lend(10, 10102, 1);
    // Someone waits for the title (a copy other than the one that comes back).
    RunSql(dataFolder,
           "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, yoyakuDTime)"
           " VALUES (9, 1, '" +
               FixedNumber("10103") +
               "', '10103', '予約者', '978499900001',"
               " '2024-05-02 10:00:00')");
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) {
            // Already committed: another session sees the return.
            EXPECT_FALSE(kashidashi::TDM::Instance().DBDatabase1.InTransaction());
            EXPECT_EQ(OpenLoans(8), 0);
            EXPECT_EQ(UserCount(10101), 0);
            EXPECT_FALSE(BookLent(8));
            EXPECT_TRUE(w.findChild<QWidget*>("BitBtn2")->isVisible());
            EXPECT_FALSE(w.findChild<QWidget*>("Button1")->isVisible());
            w.close();
        });
        ExpectConfirmation();
        Scan(desk, "Edit5", "8");
        ExpectConfirmation();
        Scan(desk, "Edit5", "10");  // nobody waits for this one
    });
    EXPECT_EQ(OpenLoans(10), 0);
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
    ExpectScriptDone();
}

TEST_F(ReturnTest, AFailureAfterTheCommitIsShownAndTheReturnStands) {
    Lend(160, 10201, 1);
    RunSql(dataFolder, "DROP TABLE yoyaku");  // the reservation lookup fails
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        dialogs->Answer(Dialogs::Kind::Error, Dialogs::Ok);
        ExpectConfirmation();
        Scan(desk, "Edit5", "160");
        EXPECT_EQ(Text(desk, "Edit2"), UserText(10201, "NAME"));
        EXPECT_EQ(Text(desk, "Edit16"), QStringLiteral("160"));
    });
    EXPECT_EQ(OpenLoans(160), 0);
    EXPECT_FALSE(BookLent(160));
    EXPECT_EQ(UserCount(10201), 0);
    ExpectScriptDone();
}

// --- Failures -------------------------------------------------------------------

// Another desk's session on the data folder: its database, the loan table
// and the loan of book 140 (live).
class OtherDesk {
  public:
    explicit OtherDesk(const std::string& folder) {
        database.SetDirectory(folder);
        for (engine::TDBDataSet* set :
             {static_cast<engine::TDBDataSet*>(&table), static_cast<engine::TDBDataSet*>(&loan)}) {
            set->SetSessionName("OtherDesk");
            set->SetDatabaseName("OtherAAA");
        }
        table.SetTableName("kashibo");
        loan.RequestLive = true;
        loan.SQL().Add("SELECT * FROM kashibo WHERE BOOK_ID = 140");
    }
    engine::TDBSession session{"OtherDesk"};
    engine::TDBDatabase database{"OtherAAA", session};
    engine::TDBTable table;
    engine::TDBQuery loan;
};

TEST_F(ReturnTest, AnEngineFailureUndoesTheReturnAndChangesNothing) {
    Lend(140, 10104, 2);
    Lend(141, 10104, 2);
    const std::string folder = std::filesystem::path(dataFolder).parent_path().string();
    const std::string away = folder + ".away";
    OtherDesk other(folder);
    sqlite3* reader = nullptr;
    const struct {
        const char* name;
        std::function<void()> fail, mend;
    } failures[] = {
        {"the loans held exclusively by another desk",
         [&] {
             other.table.SetExclusive(true);
             other.table.Open();
         },
         [&] { other.table.Close(); }},
        {"the loan record locked by another desk",
         [&] {
             other.loan.Open();
             other.loan.Edit();
         },
         [&] { other.loan.Close(); }},
        {"another desk's transaction open", [&] { other.database.StartTransaction(); },
         [&] { other.database.Rollback(); }},
        // The writes are posted; the commit cannot write while a program
        // reads the data file.
        {"the commit refused",
         [&] {
             ASSERT_EQ(sqlite3_open((folder + "/kashidashi.db").c_str(), &reader), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT * FROM sqlite_master", nullptr, nullptr,
                                    nullptr),
                       SQLITE_OK);
         },
         [&] { sqlite3_close_v2(reader); }},
        // The loan is closed first; the book's update then fails.
        {"a later write of the return refused",
         [&] {
             ASSERT_EQ(sqlite3_open((folder + "/kashidashi.db").c_str(), &reader), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(reader,
                                    "CREATE TRIGGER kx_refuse BEFORE UPDATE ON Book BEGIN "
                                    "SELECT RAISE(ABORT, 'refused'); END",
                                    nullptr, nullptr, nullptr),
                       SQLITE_OK);
         },
         [&] {
             sqlite3_exec(reader, "DROP TRIGGER kx_refuse", nullptr, nullptr, nullptr);
             sqlite3_close_v2(reader);
         }},
        {"the data folder out of reach",
         [&] {
             kashidashi::TDM::Instance().DBDatabase1.Close();
             std::filesystem::rename(folder, away);
         },
         [&] { std::filesystem::rename(away, folder); }},
    };
    // The last failure meets the book's ISBN, before any number is known.
    const QString isbn = BookText(140, "ISBN") + "0";
    ASSERT_TRUE(isbn.startsWith("9784") && isbn.size() == 13) << isbn.toStdString();
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        ExpectConfirmation();
        Scan(desk, "Edit5", "141");  // fills the result fields
        int mode = 0;
        for (const auto& f : failures) {
            SCOPED_TRACE(f.name);
            const size_t shown = dialogs->Texts().size();
            dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
            f.fail();
            Group(desk, "RadioGroup2").SetItemIndex(mode = 1 - mode);
            Scan(desk, "Edit5", &f == std::end(failures) - 1 ? isbn : QStringLiteral("140"));
            f.mend();
            ASSERT_EQ(dialogs->Texts().size(), shown + 1) << dialogs->Describe();
            EXPECT_EQ(dialogs->Texts().back(), kUndone);
            EXPECT_TRUE(Text(desk, "Edit2").isEmpty());
            EXPECT_TRUE(Text(desk, "Edit9").isEmpty());
            EXPECT_TRUE(Text(desk, "Edit5").isEmpty());
            EXPECT_EQ(Group(desk, "RadioGroup2").ItemIndex(), 0);
            EXPECT_FALSE(kashidashi::TDM::Instance().DBDatabase1.InTransaction());
            EXPECT_EQ(OpenLoans(140), 1);
            EXPECT_EQ(LoanRows(140), 1);
            EXPECT_TRUE(BookLent(140));
            EXPECT_EQ(UserCount(10104), 1);
        }
        // The desk goes on once the other desk lets go.
        ExpectConfirmation();
        Scan(desk, "Edit5", "140");
        EXPECT_EQ(OpenLoans(140), 0);
    });
    EXPECT_EQ(UserCount(10104), 0);
    for (const auto& record : dialogs->Records())
        EXPECT_NE(record.kind, Dialogs::Kind::Error) << dialogs->Describe();
    ExpectScriptDone();
}

// --- Bad input --------------------------------------------------------------------

TEST_F(ReturnTest, BadInputEndsSilentlyOrWithItsMessage) {
    Lend(150, 10105, 1);
    const QString junk[] = {"",      "ABC",           QString(200, '9'), "１５０",
                            "!\"#$", "9784",          "978499999999",    "  ",
                            "15O",   QString(15, '0')};
    OpenDesk([&](TFgyoumu1& desk) {
        ToReturnTab(desk);
        for (const QString& text : junk) Scan(desk, "Edit5", text);
    });
    for (const auto& record : dialogs->Records()) {
        if (record.kind == Dialogs::Kind::Modal) continue;
        EXPECT_EQ(record.kind, Dialogs::Kind::Information) << dialogs->Describe();
        EXPECT_TRUE(record.text == kNotOnLoan) << record.text.toStdString();
    }
    EXPECT_EQ(OpenLoans(150), 1);
    EXPECT_EQ(UserCount(10105), 1);
}

}  // namespace
}  // namespace desk_test
