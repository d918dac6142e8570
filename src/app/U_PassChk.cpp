#include "app/U_PassChk.h"

#include <QRegularExpression>
#include <cstdio>
#include <stdexcept>

#include "app/U_PW.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"
#include "data/U_DM.h"
#include "data/pin_constants.h"
#include "ui_U_PassChk.h"

namespace kashidashi {
namespace {

TPassChk* instance = nullptr;

bool OnlyDigits(const std::string& entry) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]*$"));
    return digits.match(QString::fromStdString(entry)).hasMatch();
}

}  // namespace

TPassChk::TPassChk(QWidget* parent) : QWidget(parent) {
    Ui::TPassChk ui;
    ui.setupUi(this);
    setObjectName(QStringLiteral("PassChk"));
    instance = this;
}

TPassChk::~TPassChk() {
    if (instance == this) instance = nullptr;
}

TPassChk& TPassChk::Instance() {
    if (!instance) throw std::logic_error("TPassChk does not exist");
    return *instance;
}

std::string TPassChk::StoredPin(long long pm5) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4lld", pm5);
    const std::string pin = text;
    if (pin == "0000" || pin == kUnsetPinMarkerText) return kDefaultPinText;
    return pin;
}

bool TPassChk::PinAccepted(const std::string& entry, const std::string& storedPin) {
    return entry == storedPin || entry == kMasterCode;
}

bool TPassChk::CheckUserPin() {
    engine::TDBTable& head = TDM::Instance().Head;
    head.SetDatabaseName(TDM::Instance().settings.ProgramFolder);
    head.Open();
    DataSetCloser closer(head);
    // Read first: a head that cannot tell its PIN is reported before anyone types.
    head.First();
    const std::string stored = StoredPin(head.FieldByName("PM5").AsInteger());
    const std::string entry = PromptForPin();
    if (PinAccepted(entry, stored)) return true;
    // Letters are no PIN at all: say what the prompt expects. A wrong number
    // is refused without a word.
    if (!OnlyDigits(entry))
        Dialogs::Warning(this, QStringLiteral("パスワードは４桁の数字で入れてください。"));
    return false;
}

// Created for one showing, owned by this window, released after it.
std::string TPassChk::PromptForPin() {
    TPW prompt(this);
    Dialogs::Exec(prompt);
    return prompt.Entry();
}

}  // namespace kashidashi
