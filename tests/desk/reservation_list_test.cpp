// The reservation list window on the real window over a data folder: the
// list of a book and its title, the user number by mode, the two forms and
// their results, the memo saved with Enter and only with Enter, and a grid
// that neither adds nor deletes rows.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/pin_constants.h"
#include "desk/U_Fgyoumu1_W2.h"
#include "desk/desk_windows.h"
#include "grid/LibXGrid.h"
#include "support/app_fixture.h"
#include "support/widget_keys.h"

namespace desk_test {
using namespace kx_test;
namespace {

using kashidashi::DeskWindows;
using kashidashi::TFgyoumu1_W2;
using kashidashi::TImeMode;
using kashidashi::TLibXGrid;

// Users with this year's pupil numbers (their reservations keep last year's).
constexpr const char* kUsers =
    "INSERT INTO Name (NAME_ID, seito_No, NAME) VALUES"
    " ('000101', '20101', '山田太郎'), ('000102', '20102', '佐藤花子'),"
    " ('000103', '20103', '太郎丸次郎'), ('000104', '20104', '鈴木一郎')";
// Two copies of one title, a book without ISBN, a book of another title.
constexpr const char* kBooks =
    "INSERT INTO Book (BOOK_ID, syomei2, ISBN) VALUES"
    " (21, 'ぐりとぐら', '978400000001'), (22, 'ぐりとぐら', '978400000001'),"
    " (23, 'はらぺこあおむし', NULL), (24, 'ももたろう', '978400000002')";
constexpr const char* kReservations =
    "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, yoyakuDTime)"
    " VALUES"
    " (21, 1, '000101', '10101', '山田太郎', '978400000001', '2024-04-03 09:00:00'),"
    " (22, 1, '000102', '10102', '佐藤花子', '978400000001', '2024-04-01 10:00:00'),"
    " (21, 2, '000103', '10103', '太郎丸次郎', '978400000001', '2024-04-05 15:30:00'),"
    " (23, 1, '000104', '10104', '鈴木一郎', NULL, '2024-04-02 08:00:00'),"
    " (24, 1, '000101', '10101', '山田太郎', '978400000002', '2024-04-04 12:00:00')";
constexpr const char* kIsbn = "978400000001";
const QString kUserNumber = QStringLiteral("利用者番号");
const QString kName = QStringLiteral("氏名");
const QString kMemo = QStringLiteral("メモ");

// A started program whose data folder holds the users, books and reservations.
class ReservationList : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        dataFolder = DriveFolder("C:\\Book\\");
        MakeDataFolder(dataFolder);
        for (const char* sql : {kUsers, kBooks, kReservations}) RunSql(dataFolder, sql);
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
        ASSERT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }

    // Shows the return form of the book and runs `body` on the window.
    void ShowReturn(int64_t bookId, const std::string& isbn, std::function<void(QDialog&)> body) {
        dialogs->Drive("kashidashi::TFgyoumu1_W2", std::move(body));
        DeskWindows::Fgyoumu1_W2().ShowReturnForm(bookId, isbn);
    }

    // The memo of a reservation as stored in yoyaku.
    std::string StoredMemo(int bookId, int yoyakuNo) {
        std::string memo;
        ReadStored("SELECT Memo FROM yoyaku WHERE Book_ID = " + std::to_string(bookId) +
                       " AND yoyaku_No = " + std::to_string(yoyakuNo),
                   [&](engine::TDBQuery& query) { memo = query.Fields(0).AsString(); });
        return memo;
    }

    int64_t StoredReservations() {
        int64_t rows = 0;
        ReadStored("SELECT Book_ID FROM yoyaku",
                   [&](engine::TDBQuery& query) { rows = query.RecordCount(); });
        return rows;
    }

    // Runs the SELECT on the data folder and hands the open result to `read`.
    void ReadStored(const std::string& select, const std::function<void(engine::TDBQuery&)>& read) {
        DataQuery query("KxReservationTestRead", dataFolder);
        query->SQL().Add(select);
        query->Open();
        read(*query);
        query->Close();
    }

    void ExpectScriptDone() {
        EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
        EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    }

    std::string dataFolder;
};

TLibXGrid& Grid(QDialog& w) {
    return *w.findChild<TLibXGrid*>(QStringLiteral("LibXGrid1"));
}

QStringList Column(QDialog& w, const QString& title) {
    return ColumnTexts(Grid(w), title);
}

// Opens the memo cell of the row and types the text into its editor.
QLineEdit* TypeMemo(QDialog& w, int row, const QString& text) {
    return TypeIntoCell(Grid(w), row, 3, text);
}

TEST_F(ReservationList, ListsTheBookAndItsTitleInReservationOrder) {
    const struct {
        int64_t bookId;
        const char* isbn;
        QStringList names;
        QString firstTime;
        QString title;  // of the first row
    } cases[] = {
        {21, kIsbn, {"佐藤花子", "山田太郎", "太郎丸次郎"}, "2024/04/01 10:00:00", "ぐりとぐら"},
        {22, kIsbn, {"佐藤花子", "山田太郎", "太郎丸次郎"}, "2024/04/01 10:00:00", "ぐりとぐら"},
        {21, "", {"山田太郎", "太郎丸次郎"}, "2024/04/03 09:00:00", "ぐりとぐら"},
        {23, "", {"鈴木一郎"}, "2024/04/02 08:00:00", "はらぺこあおむし"},
        {24, "978400000002", {"山田太郎"}, "2024/04/04 12:00:00", "ももたろう"},
        {99, "", {}, "", ""},
    };
    for (const auto& c : cases) {
        ShowReturn(c.bookId, c.isbn, [&](QDialog& w) {
            EXPECT_EQ(Column(w, kName), c.names) << c.bookId << " " << c.isbn;
            EXPECT_EQ(Column(w, QStringLiteral("予約日時")).value(0), c.firstTime);
            EXPECT_EQ(TextOf(w, "DBText1"), c.title);
        });
        EXPECT_FALSE(DeskWindows::Fgyoumu1_W2().YoyakuFindQry.Active());
    }
    ExpectScriptDone();
}

TEST_F(ReservationList, UserNumberFollowsTheMode) {
    const struct {
        int mode;
        QStringList numbers;
    } cases[] = {
        {4, {"20102", "20101", "20103"}},  // the pupil number of today, from Name
        {5, {"000102", "000101", "000103"}},
        {0, {"", "", ""}},
    };
    for (const auto& c : cases) {
        Settings().UserNumberMode = c.mode;
        ShowReturn(21, kIsbn,
                   [&](QDialog& w) { EXPECT_EQ(Column(w, kUserNumber), c.numbers) << c.mode; });
    }
    ExpectScriptDone();
}

TEST_F(ReservationList, LendingFormIsTrueOnlyThroughTheLendingButton) {
    const struct {
        const char* name;
        std::function<void(QDialog&)> close;
        bool lend;
    } cases[] = {
        {"貸出する", [](QDialog& w) { Click(w, "Button1"); }, true},
        {"close button", [](QDialog& w) { Click(w, "BitBtn2"); }, false},
        {"close box", [](QDialog& w) { w.close(); }, false},
        {"Esc", [](QDialog& w) { Press(*w.focusWidget(), Qt::Key_Escape); }, false},
    };
    TFgyoumu1_W2& window = DeskWindows::Fgyoumu1_W2();
    for (const auto& c : cases) {
        dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) {
            EXPECT_EQ(w.windowTitle(), "Fgyoumu1_W2");
            EXPECT_EQ(w.size(), QSize(835, 548));
            auto* title = w.findChild<QLabel*>("DBText1");
            EXPECT_EQ(title->palette().color(QPalette::Window), QColor(Qt::yellow));
            EXPECT_TRUE(title->autoFillBackground());
            EXPECT_TRUE(w.findChild<QWidget*>("RadioGroup1")->isAncestorOf(w.focusWidget()));
            for (const char* shown : {"Button1", "Label2", "BitBtn2"})
                EXPECT_TRUE(w.findChild<QWidget*>(shown)->isVisible()) << shown;
            for (const char* print : {"Button2", "Button3"})
                EXPECT_TRUE(w.findChild<QPushButton*>(print)->isEnabled()) << print;
            Press(*w.focusWidget(), Qt::Key_Return);  // no default button
            EXPECT_TRUE(w.isVisible());
            c.close(w);
            EXPECT_FALSE(w.isVisible()) << c.name;
        });
        EXPECT_EQ(window.ShowLendingForm(21, kIsbn), c.lend) << c.name;
    }
    ShowReturn(21, kIsbn, [](QDialog& w) {
        for (const char* hidden : {"Button1", "Label2"})
            EXPECT_FALSE(w.findChild<QWidget*>(hidden)->isVisible()) << hidden;
        EXPECT_TRUE(w.findChild<QWidget*>("BitBtn2")->isVisible());
    });
    ExpectScriptDone();
}

TEST_F(ReservationList, OnlyAMemoEndedWithEnterReachesTheTable) {
    enum class End { Enter, Down, Close };
    const struct {
        int row;  // in the list of book 21 and its title
        int bookId, yoyakuNo;
        const char* memo;
        End end;
        int rowAfter;
    } cases[] = {
        {0, 22, 1, "電話で連絡済み", End::Enter, 1},
        {1, 21, 1, "来週来館", End::Down, 2},
        {2, 21, 2, "取り置き中", End::Close, -1},
        {2, 21, 2, "最後の行", End::Enter, 2},

    };
    for (const auto& c : cases) {
        ShowReturn(21, kIsbn, [&](QDialog& w) {
            QLineEdit* editor = TypeMemo(w, c.row, QString::fromUtf8(c.memo));
            if (!editor) return;
            if (c.end == End::Enter) Press(*editor, Qt::Key_Return);
            if (c.end == End::Down) Press(*editor, Qt::Key_Down);
            if (c.end == End::Close) return Click(w, "BitBtn2");
            EXPECT_TRUE(w.isVisible()) << c.memo;
            EXPECT_EQ(Grid(w).currentIndex().row(), c.rowAfter) << c.memo;
            EXPECT_EQ(Column(w, kMemo).value(c.row), QString::fromUtf8(c.memo));
        });
        const bool stored = c.end == End::Enter;
        EXPECT_EQ(StoredMemo(c.bookId, c.yoyakuNo) == c.memo, stored) << c.memo;
    }
    ShowReturn(21, kIsbn, [](QDialog& w) {
        EXPECT_EQ(Column(w, kMemo), QStringList({"電話で連絡済み", "", "最後の行"}));
    });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>());
    ExpectScriptDone();
}

TEST_F(ReservationList, TheGridNeitherAddsNorDeletesRows) {
    ShowReturn(21, kIsbn, [&](QDialog& w) {
        TLibXGrid& grid = Grid(w);
        EXPECT_EQ(grid.FixedCols(), 3);
        const struct {
            int width;
            bool readOnly;
            TImeMode ime;
        } columns[] = {{-1, true, TImeMode::imClose},
                       {84, true, TImeMode::imClose},
                       {117, true, TImeMode::imClose},
                       {-1, false, TImeMode::imHira}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(grid.Columns(i).Width, columns[i].width) << i;
            EXPECT_EQ(grid.Columns(i).ReadOnly, columns[i].readOnly) << i;
            EXPECT_EQ(grid.Columns(i).ImeMode, columns[i].ime) << i;
        }
        EXPECT_FALSE(grid.CanAppend());
        EXPECT_FALSE(grid.CanDelete());
        grid.setFocus();
        Press(grid, Qt::Key_End, Qt::ControlModifier);
        Press(grid, Qt::Key_Down);
        Press(grid, Qt::Key_Delete, Qt::ControlModifier);
        TFgyoumu1_W2& window = DeskWindows::Fgyoumu1_W2();
        window.YoyakuFindQry.Append();  // refused without a word
        EXPECT_EQ(window.YoyakuFindQry.State(), engine::DataSetState::dsBrowse);
        EXPECT_EQ(grid.model()->rowCount(), 3);
        EXPECT_EQ(grid.currentIndex().row(), 2);
    });
    EXPECT_EQ(StoredReservations(), 5);
    EXPECT_TRUE(dialogs->Texts().empty());
    ExpectScriptDone();
}

TEST_F(ReservationList, EngineFailuresAreShownAndTheWindowGoesOn) {
    TFgyoumu1_W2& window = DeskWindows::Fgyoumu1_W2();
    dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) {
        EXPECT_EQ(Column(w, kName).size(), 3);
        RunSql(dataFolder, "DROP TABLE yoyaku");  // the memo can no longer be stored
        if (QLineEdit* editor = TypeMemo(w, 0, QStringLiteral("メモ")))
            Press(*editor, Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
    });
    dialogs->Answer(Dialogs::Kind::Error, Dialogs::Ok);
    window.ShowReturnForm(21, kIsbn);
    dialogs->Answer(Dialogs::Kind::Error, Dialogs::Ok);  // the list cannot be read
    dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) {
        EXPECT_TRUE(Column(w, kName).isEmpty());
        EXPECT_EQ(TextOf(w, "DBText1"), "");
        Click(w, "Button1");
    });
    EXPECT_TRUE(window.ShowLendingForm(21, kIsbn));
    EXPECT_EQ(dialogs->Texts().size(), 2u);
    for (const QString& text : dialogs->Texts()) EXPECT_FALSE(text.isEmpty());
    ExpectScriptDone();
}

}  // namespace
}  // namespace desk_test
