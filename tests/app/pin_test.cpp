// The PIN prompt: refused and accepted entries, leading zeros, the unset
// values, the master code, the close box, and an entry of letters.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/U_PW.h"
#include "app/U_PassChk.h"
#include "support/app_fixture.h"
#include "data/pin_constants.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using kashidashi::TPassChk;

class PinTest : public AppFixture {
  protected:
    // Starts with the head's PM5 (null when not given) and one prompt answer.
    void StartWithPin(std::optional<int> pm5, std::function<void(QDialog&)> answer) {
        MakeDataFolder(DriveFolder("C:\\Book\\"));
        Values values{{"meisyou", engine::Value("若葉小学校")}};
        values["PM5"] = pm5 ? engine::Value(*pm5) : engine::Value();
        PrepareHead(values);
        dialogs->Drive("kashidashi::TPW", std::move(answer));
        Start();
    }
    // Accepted: start-up went on to SetPath.
    bool Accepted() { return Main().isVisible() && !TextOf(Main(), "Edit1").isEmpty(); }
    // Refused: the program ended without a message, before SetPath.
    bool RefusedSilently() {
        return !Main().isVisible() && dialogs->Texts().empty() && TextOf(Main(), "Edit1").isEmpty();
    }
};

TEST(PinRule, StoredPinFormatsWithFourDigitsAndReplacesUnsetValues) {
    EXPECT_EQ(TPassChk::StoredPin(4321), "4321");
    EXPECT_EQ(TPassChk::StoredPin(42), "0042");
    EXPECT_EQ(TPassChk::StoredPin(0), kashidashi::kDefaultPinText);
    EXPECT_EQ(TPassChk::StoredPin(kashidashi::kUnsetPinMarker), kashidashi::kDefaultPinText);
    EXPECT_EQ(TPassChk::StoredPin(12345), "12345");
}

TEST(PinRule, EntryMustMatchByteForByte) {
    EXPECT_TRUE(TPassChk::PinAccepted("0042", "0042"));
    EXPECT_FALSE(TPassChk::PinAccepted("42", "0042"));
    EXPECT_FALSE(TPassChk::PinAccepted("0042 ", "0042"));
    EXPECT_TRUE(TPassChk::PinAccepted(kashidashi::kMasterCode, "0042"));
    EXPECT_FALSE(TPassChk::PinAccepted("", "0042"));
}

TEST_F(PinTest, StoredPinIsAccepted) {
    StartWithPin(4321, EnterPin("4321"));
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(PinTest, WrongPinEndsTheProgramWithoutAMessage) {
    StartWithPin(4321, EnterPin("1111"));
    EXPECT_TRUE(RefusedSilently()) << dialogs->Describe();
    EXPECT_EQ(HeadRow().at("PM5"), engine::Value(4321));
    EXPECT_FALSE(Main().findChild<QPushButton*>("Button2")->isEnabled());
}

TEST_F(PinTest, DefaultPinIsRefusedOnceAPinIsSet) {
    StartWithPin(4321, EnterPin(kashidashi::kDefaultPinText));
    EXPECT_TRUE(RefusedSilently()) << dialogs->Describe();
}

TEST_F(PinTest, MasterCodeIsAlwaysAccepted) {
    StartWithPin(4321, EnterPin(kashidashi::kMasterCode));
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, PinBelow1000NeedsItsLeadingZeros) {
    StartWithPin(42, EnterPin("42"));
    EXPECT_TRUE(RefusedSilently()) << dialogs->Describe();
}

TEST_F(PinTest, PinBelow1000WithLeadingZerosIsAccepted) {
    StartWithPin(42, EnterPin("0042"));
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, CloseBoxWithUntouchedEditIsAcceptedWhenNoPinIsSet) {
    StartWithPin(std::nullopt, [](QDialog& w) { w.close(); });
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, UnsetMarkerMeansTheDefaultPin) {
    StartWithPin(kashidashi::kUnsetPinMarker, EnterPin(kashidashi::kDefaultPinText));
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, StoredZeroMeansTheDefaultPin) {
    StartWithPin(0, EnterPin(kashidashi::kDefaultPinText));
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, UnsetPinRefusesOtherEntries) {
    StartWithPin(std::nullopt, EnterPin("0000"));
    EXPECT_TRUE(RefusedSilently()) << dialogs->Describe();
}

TEST_F(PinTest, EnterInTheEditClosesThePrompt) {
    StartWithPin(4321, [](QDialog& w) {
        SetText(w, "Edit1", "4321");
        PressEnter(w, "Edit1");
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, EntryIsTakenWhenClosedByTheCloseBox) {
    StartWithPin(4321, [](QDialog& w) {
        SetText(w, "Edit1", "4321");
        w.close();
    });
    EXPECT_TRUE(Accepted()) << dialogs->Describe();
}

TEST_F(PinTest, LettersAreToldAndRefused) {
    StartWithPin(4321, EnterPin("abcd"));
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{"パスワードは４桁の数字で入れてください。"});
    EXPECT_EQ(HeadRow().at("PM5"), engine::Value(4321));
}

TEST_F(PinTest, PromptLooksAsSpecified) {
    windows = std::make_unique<kashidashi::StartWindows>();
    kashidashi::TPW prompt;
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("ユーザーパスワード入力"));
    auto* edit = prompt.findChild<QLineEdit*>("Edit1");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->maxLength(), 4);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->text(), QString::fromLatin1(kashidashi::kDefaultPinText));
    EXPECT_EQ(TextOf(prompt, "Label1"),
              QStringLiteral("４桁のパスワード（数値）を入れてください。"));
    EXPECT_TRUE(TextOf(prompt, "Label2").contains(kashidashi::kDefaultPinText));
    EXPECT_TRUE(prompt.findChild<QPushButton*>("BitBtn1")->isDefault());
}

}  // namespace
}  // namespace app_test
