#include "desk/U_kakunin.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "ui_U_kakunin.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

Tkakunin::Tkakunin(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::Tkakunin>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("kakunin"));
    setFixedSize(536, 238);
    CentreOnScreen(*this);
    SetColour(Qt::yellow);
    // No default button: Enter must not close the dialog.
    ui->BitBtn1->setAutoDefault(false);
    ui->BitBtn1->setDefault(false);
    ui->Edit1->installEventFilter(this);
    // Pressed, not clicked: Alt+Y closes at once, not when the button's
    // animated click ends (a click that might reach the next showing).
    connect(ui->BitBtn1, &QPushButton::pressed, this, &Tkakunin::Close);
    connect(ui->Edit1, &QLineEdit::textChanged, this, &Tkakunin::Edit1Changed);
}

Tkakunin::~Tkakunin() = default;

void Tkakunin::Show(const QString& text, const QColor& colour) {
    ui->Label1->setText(text);
    SetColour(colour);
    Dialogs::Exec(*this);
}

QString Tkakunin::Text() const {
    return ui->Label1->text();
}

QColor Tkakunin::Colour() const {
    return palette().color(QPalette::Window);
}

bool Tkakunin::HasClosingKey(const QString& text) {
    static const QString keys = QStringLiteral("yYｙＹ");
    for (QChar c : text)
        if (keys.contains(c)) return true;
    return false;
}

void Tkakunin::SetColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

void Tkakunin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->Edit1->clear();
    ui->Edit1->setFocus();
}

void Tkakunin::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) ui->Edit1->setFocus();
}

void Tkakunin::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();  // neither closes the dialog
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool Tkakunin::eventFilter(QObject* watched, QEvent* event) {
    // A full-width "ｙ" is composed before the input method commits it.
    if (watched == ui->Edit1 && event->type() == QEvent::InputMethod &&
        HasClosingKey(static_cast<QInputMethodEvent*>(event)->preeditString())) {
        Close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tkakunin::Edit1Changed(const QString& text) {
    if (HasClosingKey(text)) Close();
}

void Tkakunin::Close() {
    if (isVisible()) accept();
}

}  // namespace kashidashi
