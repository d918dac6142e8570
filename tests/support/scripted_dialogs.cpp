#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>

namespace kx_test {
namespace {

// A script that keeps being asked has sent the program round a loop.
constexpr size_t kMostRequests = 200;

QString KindName(Dialogs::Kind kind) {
    switch (kind) {
        case Dialogs::Kind::Information:
            return "Information";
        case Dialogs::Kind::Warning:
            return "Warning";
        case Dialogs::Kind::Error:
            return "Error";
        case Dialogs::Kind::Question:
            return "Question";
        case Dialogs::Kind::Modal:
            return "Modal";
    }
    return "?";
}

template <class W>
W* Find(QWidget& window, const char* name) {
    W* widget = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no control " << name;
    return widget;
}

}  // namespace

ScriptedDialogs::ScriptedDialogs() {
    Dialogs::SetResponder([this](const Dialogs::Request& request) { return Respond(request); });
}

ScriptedDialogs::~ScriptedDialogs() {
    Dialogs::SetResponder({});
}

ScriptedDialogs& ScriptedDialogs::Answer(Dialogs::Kind kind, int button) {
    steps_.push_back({kind, button, {}, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::Answer(Dialogs::Kind kind, int button,
                                         std::function<void()> meanwhile) {
    steps_.push_back({kind, button, {}, {}, std::move(meanwhile)});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::Drive(const char* dialogClass,
                                        std::function<void(QDialog&)> drive) {
    steps_.push_back(
        {Dialogs::Kind::Modal, 0, QString::fromLatin1(dialogClass), std::move(drive), {}});
    return *this;
}

int ScriptedDialogs::Respond(const Dialogs::Request& request) {
    if (records_.size() > kMostRequests) {
        ADD_FAILURE() << "the program keeps asking:\n" << Describe();
        std::abort();
    }
    const QString dialogClass =
        request.dialog ? QString::fromLatin1(request.dialog->metaObject()->className()) : QString();
    const bool expected = !steps_.empty() && steps_.front().kind == request.kind &&
                          steps_.front().dialogClass == dialogClass;
    records_.push_back({request.kind, request.look, request.text, request.buttons, dialogClass,
                        expected, request.defaultButton});
    if (!expected) return (request.buttons & Dialogs::Cancel) ? Dialogs::Cancel : Dialogs::No;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    if (request.dialog && step.drive) step.drive(*request.dialog);
    if (step.meanwhile) step.meanwhile();
    return step.answer;
}

int ScriptedDialogs::Unexpected() const {
    int count = 0;
    for (const auto& r : records_) count += r.expected ? 0 : 1;
    return count;
}

std::vector<QString> ScriptedDialogs::Texts() const {
    std::vector<QString> texts;
    for (const auto& r : records_)
        if (r.kind != Dialogs::Kind::Modal) texts.push_back(r.text);
    return texts;
}

std::vector<QString> ScriptedDialogs::Windows() const {
    std::vector<QString> windows;
    for (const auto& r : records_)
        if (r.kind == Dialogs::Kind::Modal) windows.push_back(r.dialogClass);
    return windows;
}

std::string ScriptedDialogs::Describe() const {
    std::string text;
    for (const auto& r : records_)
        text += (r.expected ? "  " : "! ") + KindName(r.kind).toStdString() + " " +
                (r.kind == Dialogs::Kind::Modal ? r.dialogClass : r.text).toStdString() + "\n";
    return text;
}

void SetText(QWidget& window, const char* edit, const QString& text) {
    if (auto* line = Find<QLineEdit>(window, edit)) line->setText(text);
}

QString TextOf(QWidget& window, const char* widget) {
    if (auto* line = window.findChild<QLineEdit*>(QString::fromLatin1(widget))) return line->text();
    if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(widget))) return label->text();
    ADD_FAILURE() << "no text control " << widget;
    return {};
}

void Click(QWidget& window, const char* button) {
    if (auto* b = Find<QAbstractButton>(window, button)) b->click();
}

void PressEnter(QWidget& window, const char* widget) {
    QWidget* target = Find<QWidget>(window, widget);
    if (!target) return;
    target->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

}  // namespace kx_test
