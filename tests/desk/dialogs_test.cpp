// The four desk dialogs on real windows over a data folder: the name search,
// the holder picker, the confirmation dialog and the date range dialog.
#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>

#include "data/pin_constants.h"
#include "desk/U_Fhenkyaku2.h"
#include "desk/U_Name_Search.h"
#include "desk/U_SetRenge1.h"
#include "desk/U_kakunin.h"
#include "desk/desk_windows.h"
#include "support/app_fixture.h"

// The window system's shortcut path (Alt+Y reaches the button's mnemonic
// through it), exported by QtGui for the test library.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace desk_test {
using namespace kx_test;
namespace {

using kashidashi::DeskWindows;

constexpr const char* kUsers =
    "INSERT INTO Name (NAME_ID, seito_No, NAME, Tel) VALUES"
    " ('000103', '10103', '太郎丸次郎', '0120-3'),"
    " ('000101', '10101', '山田太郎', '0120-1'),"
    " ('000102', '10102', '佐藤花子', '0120-2'),"
    " ('000104', '10104', '鈴木一郎', '0120-4')";
// Two open loans of one title, a returned copy of it, a loan of another title.
constexpr const char* kLoans =
    "INSERT INTO kashibo (BOOK_ID, NAME_ID, kashidashiF, ISBN_ID) VALUES"
    " (11, '000101', '1', '978400000001'),"
    " (12, '000103', '1', '978400000001'),"
    " (13, '000102', '0', '978400000001'),"
    " (14, '000104', '1', '978400000002')";

// A started program whose data folder holds four users and their loans.
class DeskDialogs : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        const std::string data = DriveFolder("C:\\Book\\");
        MakeDataFolder(data);
        RunSql(data, kUsers);
        RunSql(data, kLoans);
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
        ASSERT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }

    // Every step of the script was reached, and nothing else was shown.
    void ExpectScriptDone() {
        EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
        EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    }
};

// The texts of a grid's column, found by its title.
QStringList Column(QWidget& window, const char* grid, const QString& title) {
    auto* view = window.findChild<QTableView*>(QString::fromLatin1(grid));
    QStringList texts;
    if (!view || !view->model()) return texts;
    const QAbstractItemModel& model = *view->model();
    for (int c = 0; c < model.columnCount(); ++c) {
        if (model.headerData(c, Qt::Horizontal).toString() != title) continue;
        for (int r = 0; r < model.rowCount(); ++r) texts << model.index(r, c).data().toString();
    }
    return texts;
}

QStringList Names(QWidget& w) {
    return Column(w, "LibXGrid1", QStringLiteral("利用者名"));
}

QWidget* Child(QWidget& window, const char* name) {
    QWidget* child = window.findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_TRUE(child) << name;
    return child;
}

// A key pressed and released on a control, as the operator types it: a
// shortcut of the active window takes it first.
void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    if (!target) return;
    target->window()->activateWindow();
    QApplication::processEvents();
    if (qt_sendShortcutOverrideEvent(target, 0, key, modifiers, text)) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

void DoubleClick(QWidget* target, QPoint at) {
    const QPointF global = target->mapToGlobal(QPointF(at));
    const struct {
        QEvent::Type type;
        Qt::MouseButtons buttons;
    } steps[] = {{QEvent::MouseButtonPress, Qt::LeftButton},
                 {QEvent::MouseButtonRelease, Qt::NoButton},
                 {QEvent::MouseButtonDblClick, Qt::LeftButton},
                 {QEvent::MouseButtonRelease, Qt::NoButton}};
    for (const auto& step : steps) {
        QMouseEvent event(step.type, QPointF(at), global, Qt::LeftButton, step.buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

void Search(QWidget& w, const QString& text) {
    SetText(w, "Edit1", text);
    PressEnter(w, "Edit1");
}

void Down(QWidget& w, const char* grid) {
    Key(Child(w, grid), Qt::Key_Down);
}

// --- Name search -----------------------------------------------------------

using DialogNameSearch = DeskDialogs;

TEST_F(DialogNameSearch, EachEnterReplacesTheListAndNeverCloses) {
    const struct {
        const char* text;
        QStringList names;  // by fixed number
    } searches[] = {
        {"太郎", {"山田太郎", "太郎丸次郎"}},
        {"花子", {"佐藤花子"}},
        {"", {"山田太郎", "佐藤花子", "太郎丸次郎", "鈴木一郎"}},
        {"該当なし", {}},
        {"太郎", {"山田太郎", "太郎丸次郎"}},
    };
    dialogs->Drive("kashidashi::TName_Search", [&](QDialog& w) {
        // A part of a name is typed in hiragana.
        auto* edit1 = w.findChild<QWidget*>("Edit1");
        ASSERT_NE(edit1, nullptr);
        EXPECT_TRUE(edit1->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_FALSE(edit1->inputMethodHints() & (Qt::ImhLatinOnly | Qt::ImhPreferLatin));
        EXPECT_TRUE(Names(w).isEmpty());
        for (const auto& s : searches) {
            Search(w, QString::fromUtf8(s.text));
            EXPECT_EQ(Names(w), s.names) << s.text;
            EXPECT_TRUE(w.isVisible()) << s.text;
        }
        Down(w, "LibXGrid1");
        Click(w, "BitBtn2");  // Cancel still hands over the selected user
    });
    EXPECT_EQ(kashidashi::TName_Search::FindUser(&Main()), "000103");
    ExpectScriptDone();
}

TEST_F(DialogNameSearch, HandsTheCurrentRowWhateverTheWayItCloses) {
    const struct {
        const char* text;  // nullptr: no search
        bool down;
        const char* close;  // a button, or nullptr for the close box
        std::string nameId;
    } cases[] = {
        {nullptr, false, "BitBtn1", ""},       // OK without a search
        {"該当なし", false, "BitBtn1", ""},    // OK on an empty list
        {"花子", false, "BitBtn1", "000102"},  // OK on the one user found
        {"太郎", false, nullptr, "000101"},    // the close box on the first row
        {"", true, "BitBtn2", "000102"},       // Cancel on the second of all
    };
    for (const auto& c : cases) {
        dialogs->Drive("kashidashi::TName_Search", [&](QDialog& w) {
            if (c.text) Search(w, QString::fromUtf8(c.text));
            if (c.down) Down(w, "LibXGrid1");
            c.close ? Click(w, c.close) : (void)w.close();
            EXPECT_FALSE(w.isVisible());
        });
        EXPECT_EQ(kashidashi::TName_Search::FindUser(&Main()), c.nameId)
            << (c.text ? c.text : "(no search)");
    }
    ExpectScriptDone();
}

// --- Holder picker ---------------------------------------------------------

using DialogHolderPicker = DeskDialogs;

TEST_F(DialogHolderPicker, ListsTheOpenLoansOfTheTitleAndReturnsTheChosenCopy) {
    enum class Way { OkAtFirst, OkAfterDown, DoubleClickSecond, CloseBox };
    const struct {
        Way way;
        int64_t bookId;
    } cases[] = {
        {Way::OkAtFirst, 11},
        {Way::OkAfterDown, 12},
        {Way::DoubleClickSecond, 12},
        {Way::CloseBox, 11},
    };
    kashidashi::TFhenkyaku2& picker = DeskWindows::Fhenkyaku2();
    for (const auto& c : cases) {
        dialogs->Drive("kashidashi::TFhenkyaku2", [&](QDialog& w) {
            EXPECT_EQ(Column(w, "DBGrid1", QStringLiteral("氏名")),
                      QStringList({"山田太郎", "太郎丸次郎"}));
            EXPECT_EQ(Column(w, "DBGrid1", QStringLiteral("運用番号")),
                      QStringList({"10101", "10103"}));
            auto* grid = w.findChild<QTableView*>(QStringLiteral("DBGrid1"));
            switch (c.way) {
                case Way::OkAfterDown:
                    Down(w, "DBGrid1");
                    [[fallthrough]];
                case Way::OkAtFirst:
                    Click(w, "BitBtn1");
                    break;
                case Way::DoubleClickSecond: {
                    const QRect row = grid->visualRect(grid->model()->index(1, 1));
                    DoubleClick(grid->viewport(), row.center());
                    break;
                }
                case Way::CloseBox:
                    w.close();
                    break;
            }
            EXPECT_FALSE(w.isVisible());
        });
        EXPECT_EQ(picker.PickHolder("978400000001"), std::optional<int64_t>(c.bookId));
        EXPECT_FALSE(picker.Query1.Active());
    }
    ExpectScriptDone();
}

TEST_F(DialogHolderPicker, NotShownWhenNobodyHoldsACopy) {
    const size_t shown = dialogs->Windows().size();
    kashidashi::TFhenkyaku2& picker = DeskWindows::Fhenkyaku2();
    for (const char* isbn : {"978499999999", ""}) {
        EXPECT_EQ(picker.PickHolder(isbn), std::nullopt) << isbn;
        EXPECT_FALSE(picker.Query1.Active());
    }
    EXPECT_EQ(dialogs->Windows().size(), shown);
    ExpectScriptDone();
}

// --- Confirmation ----------------------------------------------------------

using DialogConfirmation = DeskDialogs;

void TypeKeys(QWidget& w, const QString& keys) {
    for (QChar c : keys) Key(Child(w, "Edit1"), c.toUpper().unicode(), Qt::NoModifier, c);
}

void Compose(QWidget& w, const QString& preedit, const QString& commit) {
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(w.findChild<QLineEdit*>(QStringLiteral("Edit1")), &event);
}

void PressKey(QWidget& w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Key(Child(w, "Edit1"), key, modifiers);
}

TEST_F(DialogConfirmation, ClosesOnYAndNeverOnEnter) {
    const struct {
        const char* name;
        std::function<void(QDialog&)> act;
        bool closes;
    } cases[] = {
        {"y", [](QDialog& w) { TypeKeys(w, "y"); }, true},
        {"Y", [](QDialog& w) { TypeKeys(w, "Y"); }, true},
        {"full-width y committed", [](QDialog& w) { Compose(w, "", "ｙ"); }, true},
        {"full-width Y composing", [](QDialog& w) { Compose(w, "Ｙ", ""); }, true},
        {"Alt+Y", [](QDialog& w) { PressKey(w, Qt::Key_Y, Qt::AltModifier); }, true},
        {"button", [](QDialog& w) { Click(w, "BitBtn1"); }, true},
        {"close box", [](QDialog& w) { w.close(); }, true},
        {"Enter", [](QDialog& w) { PressEnter(w, "Edit1"); }, false},
        {"keypad Enter", [](QDialog& w) { PressKey(w, Qt::Key_Enter); }, false},
        {"Esc", [](QDialog& w) { PressKey(w, Qt::Key_Escape); }, false},
        {"n", [](QDialog& w) { TypeKeys(w, "n"); }, false},
        {"full-width n composing", [](QDialog& w) { Compose(w, "ｎ", ""); }, false},
    };
    kashidashi::Tkakunin& kakunin = DeskWindows::Kakunin();
    EXPECT_EQ(kakunin.Colour(), QColor(Qt::yellow));
    for (const auto& c : cases) {
        const QString text = QStringLiteral("返却処理が完了しました。");
        bool closed = false;
        dialogs->Drive("kashidashi::Tkakunin", [&](QDialog& w) {
            EXPECT_EQ(TextOf(w, "Label1"), text);
            EXPECT_EQ(TextOf(w, "Edit1"), QString());
            EXPECT_EQ(w.focusWidget(), w.findChild<QLineEdit*>(QStringLiteral("Edit1")));
            c.act(w);
            closed = !w.isVisible();
        });
        kakunin.Show(text, QColor(Qt::cyan));
        EXPECT_EQ(closed, c.closes) << c.name;
        EXPECT_EQ(kakunin.Colour(), QColor(Qt::cyan));
    }
    ExpectScriptDone();
}

// --- Date range ------------------------------------------------------------

using DialogDateRange = DeskDialogs;

TEST_F(DialogDateRange, ShowsTodayAtEveryOpeningAndReportsTheTextsHoweverItCloses) {
    const struct {
        const char* close;  // a button, or nullptr for the close box
        QDate start, end;
        bool ok;
        const char* startText;
        const char* endText;
    } cases[] = {
        {"Button1", {2024, 4, 1}, {2024, 4, 30}, true, "2024/04/01", "2024/04/30"},
        {"BitBtn2", {2023, 12, 5}, {2024, 1, 9}, false, "2023/12/05", "2024/01/09"},
        {nullptr, {2020, 2, 29}, {2020, 3, 1}, false, "2020/02/29", "2020/03/01"},
    };
    kashidashi::TSetRenge1& range = DeskWindows::SetRenge1();
    for (const auto& c : cases) {
        dialogs->Drive("kashidashi::TSetRenge1", [&](QDialog& w) {
            auto* start = w.findChild<QDateEdit*>(QStringLiteral("DateEdit1"));
            auto* end = w.findChild<QDateEdit*>(QStringLiteral("DateEdit2"));
            EXPECT_EQ(start->date(), QDate::currentDate());
            EXPECT_EQ(end->date(), QDate::currentDate());
            start->setDate(c.start);
            end->setDate(c.end);
            c.close ? Click(w, c.close) : (void)w.close();
        });
        EXPECT_EQ(range.Execute(), c.ok) << c.startText;
        EXPECT_EQ(range.RangeStartText, c.startText);
        EXPECT_EQ(range.RangeEndText, c.endText);
    }
    ExpectScriptDone();
}

}  // namespace
}  // namespace desk_test

namespace desk_test {
namespace {

// Enter confirms the period wherever the focus is but on キャンセル; Esc
// cancels.
TEST_F(DialogDateRange, EnterConfirmsAndEscCancels) {
    const struct {
        const char* focus;
        Qt::Key key;
        bool ok;
    } cases[] = {
        {"DateEdit1", Qt::Key_Return, true}, {"DateEdit2", Qt::Key_Return, true},
        {"DateEdit2", Qt::Key_Enter, true},  {"Button1", Qt::Key_Return, true},
        {"BitBtn2", Qt::Key_Return, false},  {"DateEdit1", Qt::Key_Escape, false},
    };
    kashidashi::TSetRenge1& range = DeskWindows::SetRenge1();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " " + std::to_string(c.key));
        bool closed = false;
        dialogs->Drive("kashidashi::TSetRenge1", [&](QDialog& w) {
            QWidget* target = Child(w, c.focus);
            target->setFocus();
            Key(target, c.key);
            closed = !w.isVisible();
        });
        EXPECT_EQ(range.Execute(), c.ok);
        EXPECT_TRUE(closed);
    }
    ExpectScriptDone();
}

}  // namespace
}  // namespace desk_test
