// The copy between the desk window's controls and the desk state: Pull
// before an operation (what the operator typed and chose), Push after it
// (what the desk decided to show).
#include <QDate>
#include <QStackedWidget>
#include <QTabWidget>

#include "desk/U_Fgyoumu1.h"
#include "engine/common/dates.h"
#include "ui_U_Fgyoumu1.h"

namespace kashidashi {

using desk::DeskEdit;

namespace {

QDate ToQDate(engine::Date date) {
    auto civil = engine::ToCivil(date);
    return QDate(civil.year, civil.month, civil.day);
}

engine::Date FromQDate(const QDate& date) {
    return engine::MakeDate(date.year(), date.month(), date.day());
}

// Copies a control's value into the state when the operator changed it
// since it was last shown.
template <typename T>
void Changed(const T& now, const T& shown, T& state) {
    if (!(now == shown)) state = now;
}

}  // namespace

QLineEdit* TFgyoumu1::EditOf(DeskEdit edit) const {
    if (edit == DeskEdit::None) return nullptr;
    return findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(static_cast<int>(edit)));
}

DeskEdit TFgyoumu1::DeskEditOf(const QObject* widget) const {
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (widget && widget == EditOf(static_cast<DeskEdit>(i))) return static_cast<DeskEdit>(i);
    return DeskEdit::None;
}

// Only what the operator changed since the last Push is copied: the state
// is the source of what the fields show, and a window that has not caught
// up yet (an activation while a message of the operation is shown) never
// brings back a value the desk has cleared.
void TFgyoumu1::Pull() {
    auto& state = desk_.state;
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (QLineEdit* edit = EditOf(static_cast<DeskEdit>(i)))
            Changed(edit->text().toStdString(), shown_.texts[i], state.texts[i]);
    Changed(ui->RadioGroup1->ItemIndex(), shown_.loanKind, state.loanKind);
    Changed(ui->RadioGroup5->ItemIndex(), shown_.quickRegistration, state.QuickRegistrationOption);
    Changed(ui->RadioGroup6->ItemIndex(), shown_.lendingConfirmation,
            state.LendingConfirmationOption);
    Changed(ui->RadioGroup7->ItemIndex(), shown_.returnConfirmation,
            state.ReturnConfirmationOption);
    Changed(ui->RadioGroup2->ItemIndex(), shown_.returnMode, state.returnMode);
    Changed(ui->RadioGroup3->ItemIndex(), shown_.listMode, state.listMode);
    Changed(ui->RadioGroup4->ItemIndex(), shown_.listOrder, state.listOrder);
    if (!opened_) return;
    Changed(FromQDate(ui->DateEdit1->date()), shown_.loanDate, state.LoanDate);
    Changed(FromQDate(ui->DateEdit2->date()), shown_.dueDate, state.DueDate);
}

void TFgyoumu1::Push() {
    const auto& state = desk_.state;
    pushing_ = true;
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (QLineEdit* edit = EditOf(static_cast<DeskEdit>(i)))
            edit->setText(QString::fromStdString(state.texts[i]));
    ui->RadioGroup1->SetItemIndex(state.loanKind);
    ui->RadioGroup5->SetItemIndex(state.QuickRegistrationOption);
    ui->RadioGroup6->SetItemIndex(state.LendingConfirmationOption);
    ui->RadioGroup7->SetItemIndex(state.ReturnConfirmationOption);
    ui->RadioGroup2->SetItemIndex(state.returnMode);
    ui->RadioGroup3->SetItemIndex(state.listMode);
    ui->RadioGroup4->SetItemIndex(state.listOrder);
    ui->DateEdit1->setDate(ToQDate(state.LoanDate));
    ui->DateEdit2->setDate(ToQDate(state.DueDate));
    ShowTab(state.tab);
    ui->Button3->setVisible(state.button3Visible);
    ui->Button4->setVisible(state.button4Visible);
    ui->Panel5->setVisible(state.panel5Visible);
    ui->Panel6->setVisible(state.panel6Visible);
    ui->Panel8->setVisible(state.panel8Visible);
    ui->Button1->setEnabled(state.button1Enabled);
    ui->Label18->setVisible(state.label18Visible);
    ui->Label31->setText(QString::fromStdString(state.label31));
    PushFocus();
    RememberShown();
    pushing_ = false;
}

void TFgyoumu1::RememberShown() {
    const auto& state = desk_.state;
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (QLineEdit* edit = EditOf(static_cast<DeskEdit>(i)))
            shown_.texts[i] = edit->text().toStdString();
    shown_.loanKind = ui->RadioGroup1->ItemIndex();
    shown_.quickRegistration = ui->RadioGroup5->ItemIndex();
    shown_.lendingConfirmation = ui->RadioGroup6->ItemIndex();
    shown_.returnConfirmation = ui->RadioGroup7->ItemIndex();
    shown_.returnMode = ui->RadioGroup2->ItemIndex();
    shown_.listMode = ui->RadioGroup3->ItemIndex();
    shown_.listOrder = ui->RadioGroup4->ItemIndex();
    shown_.loanDate = state.LoanDate;
    shown_.dueDate = state.DueDate;
}

// The header and the page shown both follow the desk's tab. A tab change
// refused while the tab widget was still switching (its message shown from
// inside the switch) can leave the header put back but the new page drawn:
// the page stack is set on its own as well.
void TFgyoumu1::ShowTab(int tab) {
    ui->PageControl1->setCurrentIndex(tab);
    if (auto* pages = ui->PageControl1->findChild<QStackedWidget*>()) pages->setCurrentIndex(tab);
}

void TFgyoumu1::PushFocus() {
    if (QLineEdit* edit = EditOf(desk_.state.focus)) edit->setFocus(Qt::OtherFocusReason);
}

}  // namespace kashidashi
