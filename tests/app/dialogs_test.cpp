// The Dialogs seam itself: requests reach the responder with their kind,
// look, text and buttons; modal windows are shown to the script and closed
// when it leaves them open; the standard error box shows the engine's text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "engine/common/error.h"
#include "support/scripted_dialogs.h"
#include "support/widget_keys.h"
#include "widgets/dialogs.h"

namespace app_test {
namespace {

using namespace kx_test;

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

TEST(DialogsSeam, RequestsReachTheResponder) {
    ScriptedDialogs script;
    script.Answer(Kind::Information, Dialogs::Ok)
        .Answer(Kind::Warning, Dialogs::Ok)
        .Answer(Kind::Error, Dialogs::Ok)
        .Answer(Kind::Question, Dialogs::No);
    Dialogs::Information(nullptr, "a");
    Dialogs::Warning(nullptr, "b");
    Dialogs::Error(nullptr, "c");
    EXPECT_EQ(Dialogs::Question(nullptr, "d", Dialogs::Yes | Dialogs::No, Kind::Warning),
              Dialogs::No);
    ASSERT_EQ(script.Records().size(), 4u);
    EXPECT_EQ(script.Unexpected(), 0);
    EXPECT_EQ(script.Records()[3].look, Kind::Warning);
    EXPECT_EQ(script.Records()[3].buttons, Dialogs::Yes | Dialogs::No);
    EXPECT_EQ(script.Texts(), (std::vector<QString>{"a", "b", "c", "d"}));
}

// A real box: Enter presses the default button the question names.
TEST(DialogsSeam, EnterInARealBoxPressesTheNamedDefault) {
    for (Dialogs::Button wanted : {Dialogs::No, Dialogs::Yes}) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            if (box) Press(*box, Qt::Key_Return);
        });
        EXPECT_EQ(
            Dialogs::Question(nullptr, "x", Dialogs::Yes | Dialogs::No, Kind::Question, wanted),
            wanted);
    }
}

TEST(DialogsSeam, ModalWindowIsShownToTheScriptAndItsResultReturned) {
    ScriptedDialogs script;
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName("Edit1");
    bool shown = false;
    script.Drive("QDialog", [&](QDialog& w) {
        shown = w.isVisible();
        SetText(w, "Edit1", "1234");
        w.accept();
    });
    EXPECT_EQ(Dialogs::Exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(shown);
    EXPECT_EQ(edit->text(), "1234");
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogsSeam, ModalWindowLeftOpenIsClosedByItsCloseBox) {
    ScriptedDialogs script;
    QDialog dialog;
    script.Drive("QDialog", [](QDialog&) {});
    EXPECT_EQ(Dialogs::Exec(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogsSeam, StandardErrorBoxSaysTheFailureInJapaneseWithTheEngineCode) {
    ScriptedDialogs script;
    script.Answer(Kind::Error, Dialogs::Ok);
    Dialogs::ShowEngineError(nullptr, engine::EngineError::Make(engine::err::kTableMissing, "Reg"));
    ASSERT_EQ(script.Texts().size(), 1u);
    QStringList lines = script.Texts()[0].split(QLatin1Char('\n'));
    EXPECT_EQ(lines.front(), QStringLiteral("このフォルダには学校のデータがありません。"));
    EXPECT_EQ(lines.back(), QStringLiteral("（エラー番号 11010: Reg）"));
}

TEST(DialogsSeam, LineBreaksOfMessagesAreShownAsLineBreaks) {
    EXPECT_EQ(Dialogs::DisplayText("a\rb\r\nc\nd"), QStringLiteral("a\nb\nc\nd"));
}

TEST(DialogsSeam, CaptionIsTheApplicationTitle) {
    EXPECT_EQ(Dialogs::Caption(), QStringLiteral("貸出と返却"));
}

TEST(DialogsSeam, UnscriptedRequestIsRecordedAndRefused) {
    ScriptedDialogs script;
    EXPECT_EQ(Dialogs::Question(nullptr, "?", Dialogs::Yes | Dialogs::No | Dialogs::Cancel),
              Dialogs::Cancel);
    EXPECT_EQ(script.Unexpected(), 1);
}

}  // namespace
}  // namespace app_test
