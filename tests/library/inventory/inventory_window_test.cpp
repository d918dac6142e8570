// 蔵書点検 opened from 図書館の管理, offscreen, on the small school: scans
// typed at a reader's pace answered beside the entry with no box, the books
// that need a decision in their list and acted on only by its buttons, the
// focus back on the entry after a click, the question of starting again, a
// reader's file (decoded, its loud scans in the list, a non-text file
// refused), the finish writing off the marked book, and the list in the
// preview.
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <fstream>

#include "data/pin_constants.h"
#include "engine/common/dates.h"
#include "grid/LibXGrid.h"
#include "library/inventory/U_Tenken.h"
#include "library/inventory/inventory.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

using kashidashi::TTenken;
using kashidashi::library::ScanAnswer;

// The window's events run for `ms` milliseconds.
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Key(QWidget* widget, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// A left click at `at`, pressed and released as a mouse does.
void MouseClick(QWidget* widget, QPoint at) {
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// Besides the school's books 1 to 6 (all lent but 3): 7 and 8 copies of one
// ISBN, 9, and 10 discarded.
class InventoryWindowTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        RunSql(data,
               "Update Reg Set N2=0 Where ID=2;"
               "Insert Into HKN (HKN_ID, HKN) Values (1, '図書室');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, ISBN) Values (7, '本7', 1,"
               " '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, ISBN) Values (8, '本8', 1,"
               " '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID) Values (9, '本9', 1);"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, haikiF) Values (10, '本10', 1, True)");
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    void InWindow(std::function<void(TTenken&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button5"); })
            .Drive("kashidashi::TTenken",
                   [drive](QDialog& window) { drive(static_cast<TTenken&>(window)); });
        Click(Main(), "Button3");
    }
    static void Scan(TTenken& window, const char* text) {
        SetText(window, "Edit1", QString::fromUtf8(text));
        PressEnter(window, "Edit1");
    }
    // As a keyboard-emulating reader types: the keys, Enter, a tenth of a
    // second for each scan, the window's events running meanwhile.
    static void TypeScans(TTenken& window, const std::vector<const char*>& scans) {
        auto* edit = window.findChild<QLineEdit*>("Edit1");
        for (const char* scan : scans) {
            for (QChar c : QString::fromUtf8(scan)) Key(edit, Qt::Key_0 + c.digitValue(), c);
            Key(edit, Qt::Key_Return, QStringLiteral("\r"));
            Wait(100);
        }
    }
    // The decision list: "<number> <what to decide>" a line.
    static std::vector<QString> Decisions(TTenken& window) {
        auto* table = window.findChild<QTableWidget*>("TableWidget2");
        std::vector<QString> lines;
        for (int row = 0; row < table->rowCount(); ++row)
            lines.push_back(table->item(row, 0)->text() + " " + table->item(row, 2)->text());
        return lines;
    }
    static void ChooseDecision(TTenken& window, const QString& number) {
        auto* table = window.findChild<QTableWidget*>("TableWidget2");
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 0)->text() == number) table->setCurrentCell(row, 0);
    }
    // A click as a mouse gives it: the clicked control takes the focus first.
    static void ClickWithMouse(TTenken& window, const char* name) {
        auto* button = window.findChild<QPushButton*>(name);
        button->setFocus(Qt::MouseFocusReason);
        MouseClick(button, button->rect().center());
        Wait(20);
    }
    static bool FocusOnEntry(TTenken& window) {
        return window.focusWidget() == window.findChild<QLineEdit*>("Edit1");
    }
    bool Flag(int64_t book, const char* column) {
        auto rows = kashidashi::library::SelectRows(
            Connection(), std::string("Select ") + column + " From Book Where BOOK_ID=:PM1",
            {{"pm1", engine::Value(book)}});
        const auto& flag = rows.rows.at(0).values[0];
        return flag.IsBool() && flag.Bool();
    }
};

TEST_F(InventoryWindowTest, ScansAtAReadersPaceAreAllStoredAndNoLoanClosesUnasked) {
    std::vector<QString> decisions, after;
    QString answer, progress;
    QColor answerColour;
    bool focusAfterButton = false, focusAfterGrid = false;
    InWindow([&](TTenken& window) {
        Click(window, "Button1");  // no check runs: no question
        TypeScans(window, {"0000003", "1", "0000009", "99999", "10", "9784000000024",
                           "9784000000024", "0000000"});
        decisions = Decisions(window);
        answer = window.findChild<QLabel*>("Label2")->text();
        progress = window.findChild<QTableWidget*>("TableWidget1")->item(0, 1)->text() + "/" +
                   window.findChild<QTableWidget*>("TableWidget1")->item(0, 2)->text();
        // The lent book comes back by its button only.
        ChooseDecision(window, "0000001");
        ClickWithMouse(window, "Button7");
        focusAfterButton = FocusOnEntry(window);
        after = Decisions(window);
        auto* grid = window.findChild<kashidashi::TLibXGrid*>("DBGrid1");
        grid->setFocus(Qt::MouseFocusReason);
        MouseClick(grid->viewport(), QPoint(40, 10));
        Wait(20);
        focusAfterGrid = FocusOnEntry(window);
        Click(window, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();  // no box at all
    for (int64_t book : {3, 9, 7, 8, 1, 10}) EXPECT_TRUE(Flag(book, "tenkenF")) << book;
    EXPECT_EQ(decisions, (std::vector<QString>{
                             QStringLiteral("0000001 貸出中の記録あり"),
                             QStringLiteral("0099999 登録されていない番号"),
                             QStringLiteral("0000010 廃棄済みの記録あり"),
                             QStringLiteral("0000000 登録されていない番号"),
                         }));
    EXPECT_EQ(answer, QStringLiteral("登録されていない図書番号です: 0000000"));
    EXPECT_EQ(progress, QStringLiteral("4/4"));  // 3, 9, 7, 8
    EXPECT_EQ(after.size(), 3u);
    EXPECT_FALSE(Flag(1, "kashidashiF"));
    EXPECT_TRUE(focusAfterButton);
    EXPECT_TRUE(focusAfterGrid);
}

TEST_F(InventoryWindowTest, TheFinishWritesOffTheMarkedBookAndTheListPrints) {
    size_t missing = 0, pages = 0;
    InWindow([&](TTenken& window) {
        Click(window, "Button1");
        Scan(window, "3");
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            pages = static_cast<kashidashi::reports::TPreview&>(preview).Report().pages.size();
        });
        Click(window, "Button4");
        // Starting again asks first; No keeps the check.
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::No);
        Click(window, "Button1");
        missing = window.Missing().size();
        Click(window, "Button6");  // the first book not found: 7
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes)
            .Answer(Dialogs::Kind::Information, Dialogs::Ok);
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_EQ(missing, 3u);  // 7, 8, 9
    EXPECT_EQ(pages, 1u);
    EXPECT_TRUE(Flag(7, "haikiF"));
    EXPECT_FALSE(Flag(9, "haikiF"));
}

TEST_F(InventoryWindowTest, AReadersFileLandsItsLoudScansInTheDecisionList) {
    // Shift-JIS, as a reader's program on Windows writes it: a title line
    // (「点検」), one ISBN scanned for each of its two copies, a lent and a
    // discarded book.
    const std::string file = data + "/reader.txt";
    std::ofstream(file, std::ios::binary) << "\x93\x5F\x8C\x9F\r\n"
                                             "2026/03/02 10:00:00\t9784000000024\r\n"
                                             "2026/03/02 10:00:01\t9784000000024\r\n"
                                             "2026/03/02 10:00:02\t1\r\n"
                                             "2026/03/02 10:00:03\t10\r\n";
    const std::string image = data + "/photo.png";
    std::ofstream(image, std::ios::binary) << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR9\n", 19);
    std::vector<QString> decisions;
    bool focusAtOpening = false;
    kashidashi::library::StartInventory(Connection(), engine::Today());
    InWindow([&](TTenken& window) {
        focusAtOpening = FocusOnEntry(window);  // the check runs: the reader types at once
        dialogs->Answer(Dialogs::Kind::Error, Dialogs::Ok);
        window.ReadReaderFile(QString::fromStdString(image));
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
        window.ReadReaderFile(QString::fromStdString(file));
        decisions = Decisions(window);
        // The same file again: asked, and No takes nothing.
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::No);
        window.ReadReaderFile(QString::fromStdString(file));
        Click(window, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_TRUE(focusAtOpening);
    ASSERT_EQ(dialogs->Texts().size(), 3u) << dialogs->Describe();
    EXPECT_TRUE(dialogs->Texts()[1].startsWith(
        QStringLiteral("点検 2 冊、点検済み 0 冊、貸出中の記録 1 冊、廃棄済み 1 冊")))
        << dialogs->Describe();
    EXPECT_FALSE(Flag(9, "tenkenF"));  // the image checked nothing
    EXPECT_TRUE(Flag(7, "tenkenF"));
    EXPECT_TRUE(Flag(8, "tenkenF"));
    EXPECT_TRUE(Flag(1, "kashidashiF"));
    EXPECT_EQ(decisions, (std::vector<QString>{
                             QStringLiteral("0000001 貸出中の記録あり"),
                             QStringLiteral("0000010 廃棄済みの記録あり"),
                         }));
}

}  // namespace
}  // namespace library_test
