// The quick registration from the desk's book entry on the demo school: a
// number no book has, Yes, the window TFBook2 driven as the operator does,
// and the book registered and picked (or refused as new).
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "answer_server.h"
#include "catalogue/lookup_services.h"
#include "catalogue/marc_import.h"
#include "desk/desk_fixture.h"
#include "widgets/radio_group.h"

namespace catalogue_test {
namespace {

using namespace desk_test;
using Kind = Dialogs::Kind;
namespace cat = kashidashi::catalogue;

constexpr const char* kAsk = "この番号の図書はありません。今すぐ簡易登録をしますか。";

class QuickRegistrationTest : public DeskFixture {
  protected:
    void SetUp() override {
        DeskFixture::SetUp();
        if (Stopped()) return;
        saved = cat::Services();
        cat::Services().ndlBase = server.Base();
        cat::Services().rakutenBase = server.Base();
        cat::Services().allowedSchemes = {"http"};
        RunSql(dataFolder,
               "Update Book Set kintaiF=False, haikiF=False, kashidashiF=False, yoyakuF=False;"
               "Update Reg Set N1=0 Where ID=2");  // new books are lent at once
    }
    void TearDown() override {
        cat::Services() = saved;
        DeskFixture::TearDown();
    }
    std::string Answer(const std::string& name) {
        std::string text = RecordedAnswer(name);
        for (std::size_t at; (at = text.find("@BASE@")) != std::string::npos;)
            text.replace(at, 6, server.Base());
        return text;
    }
    // The national library's recorded answer for Clean Architecture
    // (tests/catalogue/answers/README.md).
    void ServeNdl() {
        server.Serve("/api/opensearch", Answer("ndl_search_clean_architecture.xml"));
    }
    static bool Enabled(QDialog& w, const char* button) {
        return w.findChild<QPushButton*>(button)->isEnabled();
    }
    static QString Focused(QDialog& w) {
        return w.focusWidget() ? w.focusWidget()->objectName() : QString();
    }
    static int PickCount(TFgyoumu1& desk) {
        return static_cast<int>(desk.Desk().WKT01.RecordCount());
    }

    AnswerServer server;
    cat::LookupServices saved;
};

TEST_F(QuickRegistrationTest, AScannedIsbnRegistersTheBookAndItIsPicked) {
    ServeNdl();
    Register(
        [&](QDialog& w) {
            EXPECT_EQ(TextOf(w, "E1"), "99999");
            EXPECT_EQ(Focused(w), "E3");
            EXPECT_EQ(w.findChild<kashidashi::TRadioGroup*>("RadioGroup7")->ItemIndex(), 0);
            EXPECT_FALSE(Enabled(w, "BitBtn1"));
            EXPECT_TRUE(Enabled(w, "BitBtn2"));
            SetText(w, "E3", "9784048930659");
            PressEnter(w, "E3");
            EXPECT_EQ(TextOf(w, "E5"),
                      QStringLiteral("Clean Architecture : 達人に学ぶソフトウェアの構造と設計"));
            EXPECT_EQ(TextOf(w, "E3"), "978404893065");
            EXPECT_EQ(TextOf(w, "E13"), "0");
            EXPECT_EQ(Focused(w), "E4");
            EXPECT_TRUE(Enabled(w, "BitBtn1"));
            EXPECT_FALSE(Enabled(w, "BitBtn2"));
            // Typing after the save edits the stored row; OK takes the box
            // that still has the focus.
            SetText(w, "E14", "1");
            PressEnter(w, "E14");
            EXPECT_EQ(w.findChild<QComboBox*>("DBLookupComboBox2")->currentText(), "図書室");
            SetText(w, "E15", "福音館");
            Click(w, "BitBtn1");
        },
        [&](TFgyoumu1& desk) {
            EXPECT_EQ(PickCount(desk), 1);
            EXPECT_TRUE(Text(desk, "Edit4").isEmpty());
        });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{kAsk}) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0);
    EXPECT_EQ(DataValue("Select syomei2 From Book Where BOOK_ID=99999").Text(),
              "Clean Architecture : 達人に学ぶソフトウェアの構造と設計");
    EXPECT_EQ(DataValue("Select ISBN From Book Where BOOK_ID=99999").Text(), "978404893065");
    EXPECT_EQ(DataValue("Select seikyu From Book Where BOOK_ID=99999").Text(), "007-カ-");
    EXPECT_EQ(DataValue("Select HKN_ID From Book Where BOOK_ID=99999").Integer(), 1);
    EXPECT_EQ(DataValue("Select syuppansya From Book Where BOOK_ID=99999").Text(), "福音館");
}

TEST_F(QuickRegistrationTest, ANewBookIsRefusedWhenNewBooksAreLocked) {
    RunSql(dataFolder, "Delete From Reg Where ID=2; Insert Into Reg (ID, N1) Values (2, 7)");
    Register(
        [&](QDialog& w) {
            SetText(w, "E5", "手で書いた書名");
            PressEnter(w, "E5");
            EXPECT_TRUE(Enabled(w, "BitBtn1"));
            EXPECT_FALSE(Enabled(w, "BitBtn2"));
            Click(w, "BitBtn1");
        },
        [&](TFgyoumu1& desk) { EXPECT_EQ(PickCount(desk), 0); });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{kAsk, "この本は新刊図書ですので、まだ貸出が出来ません。"}));
    EXPECT_EQ(DataValue("Select syomei2 From Book Where BOOK_ID=99999").Text(), "手で書いた書名");
}

TEST_F(QuickRegistrationTest, ANumberAnotherDeskRegisteredMeanwhileIsShownAndFoundLater) {
    Register(
        [&](QDialog& w) {
            SetText(w, "E5", "この机の書名");
            PressEnter(w, "E5");
            RunSql(dataFolder,
                   "Insert Into Book (BOOK_ID, syomei2, tourokubi) Values (99999, '他の机の書名', "
                   "'2020/04/01')");
            Click(w, "BitBtn1");
        },
        [&](TFgyoumu1& desk) {
            EXPECT_EQ(PickCount(desk), 0);
            EXPECT_FALSE(kashidashi::TDM::Instance().BOOK.Active());  // no pending row left
            Scan(desk, "Edit4", "99999");
            EXPECT_EQ(PickCount(desk), 1);
        });
    int errors = 0;
    for (const auto& record : dialogs->Records()) errors += record.kind == Kind::Error;
    EXPECT_EQ(errors, 1) << dialogs->Describe();
    EXPECT_EQ(DataValue("Select syomei2 From Book Where BOOK_ID=99999").Text(), "他の机の書名");
}

TEST_F(QuickRegistrationTest, CancelOrTheFrameStoresNothing) {
    for (bool frame : {false, true}) {
        Register([&](QDialog& w) {
            SetText(w, "E4", "途中まで");
            PressEnter(w, "E4");
            if (!frame) Click(w, "BitBtn2");
        });
        EXPECT_EQ(RowCount("Select * From Book Where BOOK_ID=99999"), 0) << frame;
    }
}

TEST_F(QuickRegistrationTest, TheWindowsBoxesAndChoices) {
    RunSql(programFolder, "Update Head Set PM8=1");
    server.Serve("/services/", "{}", 500);
    Register([&](QDialog& w) {
        auto* group = w.findChild<kashidashi::TRadioGroup*>("RadioGroup7");
        EXPECT_EQ(group->ItemIndex(), 1);
        // A failed lookup keeps the ISBN box, its text and the focus.
        SetText(w, "E3", "9784033280103");
        PressEnter(w, "E3");
        EXPECT_EQ(Focused(w), "E3");
        EXPECT_EQ(TextOf(w, "E3"), "9784033280103");
        // Ten digits, or full-width ones, run no lookup.
        for (const char* isbn : {"4834000826", "９７８４８３４０００８２５"}) {
            w.findChild<QWidget*>("E3")->setFocus();
            SetText(w, "E3", isbn);
            PressEnter(w, "E3");
            EXPECT_EQ(Focused(w), "E4") << isbn;
        }
        // Choosing a source empties the ISBN box and focuses it.
        group->findChildren<QRadioButton*>().at(2)->click();
        EXPECT_EQ(Focused(w), "E3");
        EXPECT_TRUE(TextOf(w, "E3").isEmpty());
        // Enter moves along the chain; E19 goes back to E1.
        PressEnter(w, "E19");
        EXPECT_EQ(Focused(w), "E1");
        PressEnter(w, "E8");
        EXPECT_EQ(Focused(w), "E9");
        // Leaving the title box empty keeps OK disabled.
        PressEnter(w, "E5");
        EXPECT_FALSE(Enabled(w, "BitBtn1"));
        EXPECT_TRUE(Enabled(w, "BitBtn2"));
        // A code typed shows its name.
        SetText(w, "E14", "1");
        PressEnter(w, "E14");
        EXPECT_EQ(w.findChild<QComboBox*>("DBLookupComboBox2")->currentText(), "図書室");
        Click(w, "BitBtn2");
    });
    EXPECT_EQ(dialogs->Texts(),
              (std::vector<QString>{kAsk, "A.楽天からの引当が出来ませんでした。"}));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(QuickRegistrationTest, TheMarcSourceAndATwelveDigitIsbnStoredAsTyped) {
    RunSql(programFolder, "Update Head Set PM8=2");
    cat::WriteMarcDatabase(cat::Services().marcDataPath,
                           {{{"isbn", "4834000826"}, {"title", "ぐりとぐら"}, {"ndc", "E"}}});
    Register([&](QDialog& w) {
        SetText(w, "E3", "978-483400082");
        PressEnter(w, "E3");
        EXPECT_EQ(Focused(w), "E4");
        EXPECT_EQ(TextOf(w, "E5"), "ぐりとぐら");
        EXPECT_EQ(w.findChild<QComboBox*>("DBLookupComboBox2")->currentText(), "図書室");
        EXPECT_FALSE(Enabled(w, "BitBtn1"));  // not saved: OK waits for the title box
        w.findChild<QWidget*>("E5")->setFocus();
        PressEnter(w, "E5");
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{kAsk}) << dialogs->Describe();
    EXPECT_EQ(DataValue("Select ISBN From Book Where BOOK_ID=99999").Text(), "978-483400082");
    EXPECT_EQ(DataValue("Select seikyu From Book Where BOOK_ID=99999").Text(), "絵本--");
    EXPECT_EQ(DataValue("Select yobi1_ID From Book Where BOOK_ID=99999").Integer(), 11);
}

// A real window takes the activation while the message is shown, and gives
// it back when it closes (delivered once events run again), as a message box
// does: the ISBN box loses the focus by the window's deactivation.
std::function<void()> AnotherWindowMeanwhile(QDialog*& window) {
    return [&window] {
        QDialog box;
        box.show();
        box.activateWindow();
        QApplication::processEvents();
        EXPECT_FALSE(window->isActiveWindow());
        box.hide();
        window->activateWindow();
    };
}

TEST_F(QuickRegistrationTest, AfterAMessageThatLetsTheLookupGoOnTheFocusIsInTheSeriesBox) {
    RunSql(programFolder, "Update Head Set PM8=2");
    cat::WriteMarcDatabase(cat::Services().marcDataPath,
                           {{{"isbn", "4834000826"}, {"title", "ぐりとぐら"}}});
    QDialog* window = nullptr;
    Register([&](QDialog& w) {
        window = &w;
        dialogs->Answer(Kind::Information, Dialogs::Ok, AnotherWindowMeanwhile(window));
        SetText(w, "E3", "9784033280103");  // not in the MARC source
        PressEnter(w, "E3");
        Settle();
        EXPECT_TRUE(w.isActiveWindow());
        EXPECT_EQ(Focused(w), "E4");
        EXPECT_TRUE(Enabled(w, "BitBtn1"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_EQ(DataValue("Select ISBN From Book Where BOOK_ID=99999").Text(), "978403328010");
}

TEST_F(QuickRegistrationTest, TheIsbnOfAnAbandonedLookupIsNotStoredWhenAMessageTakesTheFocus) {
    QDialog* window = nullptr;
    Register([&](QDialog& w) {
        window = &w;
        dialogs->Answer(Kind::Information, Dialogs::Ok, AnotherWindowMeanwhile(window));
        SetText(w, "E3", "9784834000825");  // the national library answers 404
        PressEnter(w, "E3");
        Settle();
        EXPECT_EQ(Focused(w), "E3");
        EXPECT_EQ(TextOf(w, "E3"), "9784834000825");
        EXPECT_TRUE(kashidashi::TDM::Instance().BOOK.FieldByName("ISBN").AsString().empty());
        Click(w, "BitBtn2");
    });
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
}

// Typed, pasted or set, a box keeps what its column holds in code page 932
// bytes (書名 60, 著作者 30), and that is what is stored.
TEST_F(QuickRegistrationTest, EachBoxKeepsWhatItsColumnHolds) {
    const QString forty = QString(u'字').repeated(40);
    Register([&](QDialog& w) {
        SetText(w, "E5", forty);
        EXPECT_EQ(TextOf(w, "E5"), QString(u'字').repeated(30));
        auto* author = w.findChild<QLineEdit*>("E8");
        author->setText(QStringLiteral("あいうえおかきくけこ"));
        author->setCursorPosition(5);
        author->insert(QStringLiteral("さしすせそたちつてと"));  // as a paste does
        EXPECT_EQ(author->text(), QStringLiteral("あいうえおさしすせそかきくけこ"));
        author->insert(QStringLiteral("ん"));  // as a keystroke does
        EXPECT_EQ(author->text(), QStringLiteral("あいうえおさしすせそかきくけこ"));
        PressEnter(w, "E5");
        PressEnter(w, "E8");
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(DataValue("Select syomei2 From Book Where BOOK_ID=99999").Text(),
              QString(u'字').repeated(30).toStdString());
    EXPECT_EQ(DataValue("Select cyosya1 From Book Where BOOK_ID=99999").Text(),
              "あいうえおさしすせそかきくけこ");
}

// The reading boxes take the input method's text and keep half-width katakana.
TEST_F(QuickRegistrationTest, TheReadingBoxesTakeJapaneseInputAsHalfWidthKatakana) {
    Register([&](QDialog& w) {
        for (const auto& [box, typed, kept] : {std::tuple{"E6", u"ぐりとぐら", u"ｸﾞﾘﾄｸﾞﾗ"},
                                               {"E12", u"なかがわ　リエコ", u"ﾅｶｶﾞﾜ ﾘｴｺ"}}) {
            auto* edit = w.findChild<QLineEdit*>(box);
            EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled)) << box;
            edit->setFocus();
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf16(typed));
            QApplication::sendEvent(edit, &commit);
            EXPECT_EQ(edit->text(), QString::fromUtf16(kept)) << box;
        }
        SetText(w, "E5", "ぐりとぐら");
        PressEnter(w, "E5");
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(DataValue("Select key1 From Book Where BOOK_ID=99999").Text(), "ｸﾞﾘﾄｸﾞﾗ");
    EXPECT_EQ(DataValue("Select key2 From Book Where BOOK_ID=99999").Text(), "ﾅｶｶﾞﾜ ﾘｴｺ");
}

// An engine error in the activation is shown in the standard error box by
// the window itself, which stays open (the error does not unwind the desk's
// action through Qt).
TEST_F(QuickRegistrationTest, AnEngineErrorInAnEventHandlerIsShownInTheErrorBox) {
    bool handled = false;
    Register([&](QDialog& w) {
        RunSql(programFolder, "DROP TABLE head");  // the activation reads head
        dialogs->Answer(Kind::Error, Dialogs::Ok);
        QDialog other;
        other.show();
        other.activateWindow();
        Settle();
        other.hide();
        w.activateWindow();
        Settle();
        handled = true;
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
        Click(w, "BitBtn2");
    });
    EXPECT_TRUE(handled);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// While the national library does not answer, the window repaints, shows
// the wait cursor and says it searches; it acts on no key meanwhile (Esc,
// another Enter) and cannot be closed. (Keys and clicks of the window
// system wait in the queue until the lookup has ended.)
TEST_F(QuickRegistrationTest, WhileALookupWaitsTheWindowSaysSoAndActsOnNoInput) {
    server.Hang("/api/opensearch");
    cat::Services().totalTimeout = std::chrono::milliseconds(1500);
    Register([&](QDialog& w) {
        bool looked = false;
        QTimer::singleShot(300, &w, [&] {
            looked = true;
            EXPECT_TRUE(QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
            EXPECT_TRUE(w.findChild<QLabel*>("LabelSearching")->isVisible());
            EXPECT_FALSE(w.grab().isNull());
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&w, &escape);
            PressEnter(w, "E3");
            w.close();
        });
        dialogs->Answer(Kind::Information, Dialogs::Ok);
        SetText(w, "E3", "978483400082");
        PressEnter(w, "E3");
        EXPECT_TRUE(looked);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(server.Requests().size(), 1u);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_FALSE(w.findChild<QLabel*>("LabelSearching")->isVisible());
        Click(w, "BitBtn2");
    });
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// A picture of the window filled by a lookup, for the project's documents.
// Runs only when KASHIDASHI_SCREENSHOTS names the folder to write to:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs catalogue_tests
//       --gtest_filter='*Screenshot*'
TEST_F(QuickRegistrationTest, ScreenshotOfAWindowFilledByALookup) {
    const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
    if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
    const QString file = QString::fromStdString(std::filesystem::absolute(folder).string() +
                                                "/quick-registration.png");
    ServeNdl();
    Register([&](QDialog& w) {
        SetText(w, "E3", "9784048930659");
        PressEnter(w, "E3");
        SetText(w, "E14", "1");
        PressEnter(w, "E14");
        Settle();
        EXPECT_TRUE(w.grab().save(file, "PNG"));
        Click(w, "BitBtn1");
    });
}

}  // namespace
}  // namespace catalogue_test
