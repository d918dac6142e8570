#include "widgets/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

#include "data/failure_text.h"

namespace kashidashi {
namespace {

Dialogs::Responder& CurrentResponder() {
    static Dialogs::Responder responder;
    return responder;
}

QMessageBox::Icon IconOf(Dialogs::Kind kind) {
    switch (kind) {
        case Dialogs::Kind::Information:
            return QMessageBox::Information;
        case Dialogs::Kind::Warning:
            return QMessageBox::Warning;
        case Dialogs::Kind::Error:
            return QMessageBox::Critical;
        default:
            return QMessageBox::Question;
    }
}

// Japanese captions, as the desk's operators know them from their own system.
struct ButtonLook {
    Dialogs::Button button;
    QMessageBox::StandardButton standard;
    const char* text;
};
constexpr ButtonLook kButtons[] = {
    {Dialogs::Yes, QMessageBox::Yes, "はい(&Y)"},
    {Dialogs::No, QMessageBox::No, "いいえ(&N)"},
    {Dialogs::Ok, QMessageBox::Ok, "OK"},
    {Dialogs::Cancel, QMessageBox::Cancel, "キャンセル"},
};

Dialogs::Button EscapeAnswer(int buttons) {
    if (buttons & Dialogs::Cancel) return Dialogs::Cancel;
    if (buttons & Dialogs::No) return Dialogs::No;
    return Dialogs::Ok;
}

Dialogs::Button ShowBox(QWidget* parent, Dialogs::Kind look, const QString& text, int buttons,
                        int defaultButton) {
    QMessageBox box(IconOf(look), Dialogs::Caption(), Dialogs::DisplayText(text),
                    QMessageBox::NoButton, parent);
    for (const auto& b : kButtons) {
        if (!(buttons & b.button)) continue;
        QPushButton* added = box.addButton(b.standard);
        added->setText(QString::fromUtf8(b.text));
        if (defaultButton == b.button) box.setDefaultButton(added);
    }
    box.exec();
    for (const auto& b : kButtons)
        if (box.clickedButton() == box.button(b.standard)) return b.button;
    return EscapeAnswer(buttons);
}

Dialogs::Button Ask(QWidget* parent, Dialogs::Kind kind, Dialogs::Kind look, const QString& text,
                    int buttons, int defaultButton = Dialogs::NoButton) {
    if (auto& responder = CurrentResponder())
        return static_cast<Dialogs::Button>(
            responder({kind, text, buttons, parent, nullptr, look, defaultButton}));
    return ShowBox(parent, look, text, buttons, defaultButton);
}

}  // namespace

void Dialogs::SetResponder(Responder responder) {
    CurrentResponder() = std::move(responder);
}

bool Dialogs::HasResponder() {
    return static_cast<bool>(CurrentResponder());
}

void Dialogs::Information(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Information, Kind::Information, text, Ok);
}

void Dialogs::Warning(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Warning, Kind::Warning, text, Ok);
}

void Dialogs::Error(QWidget* parent, const QString& text) {
    Ask(parent, Kind::Error, Kind::Error, text, Ok);
}

Dialogs::Button Dialogs::Question(QWidget* parent, const QString& text, int buttons, Kind look,
                                  Button defaultButton) {
    return Ask(parent, Kind::Question, look, text, buttons, defaultButton);
}

int Dialogs::Exec(QDialog& dialog) {
    auto& responder = CurrentResponder();
    if (!responder) return dialog.exec();
    dialog.show();
    responder({Kind::Modal, QString(), NoButton, dialog.parentWidget(), &dialog, Kind::Modal});
    // A script that left the window open: the operator's close box.
    if (dialog.isVisible()) dialog.close();
    return dialog.result();
}

void Dialogs::ShowEngineError(QWidget* parent, const std::exception& error) {
    Error(parent, QString::fromStdString(FailureText(error)));
}

QString Dialogs::Caption() {
    return QCoreApplication::applicationName();
}

QString Dialogs::DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace kashidashi
