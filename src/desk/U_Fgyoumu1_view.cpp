// The copy between the desk window's controls and the desk state: Pull
// before an operation (what the operator typed and chose), Push after it
// (what the desk decided to show).
#include <QDate>

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

void TFgyoumu1::Pull() {
    auto& state = desk_.state;
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (QLineEdit* edit = EditOf(static_cast<DeskEdit>(i)))
            state.texts[i] = edit->text().toStdString();
    state.loanKind = ui->RadioGroup1->ItemIndex();
    state.QuickRegistrationOption = ui->RadioGroup5->ItemIndex();
    state.LendingConfirmationOption = ui->RadioGroup6->ItemIndex();
    state.ReturnConfirmationOption = ui->RadioGroup7->ItemIndex();
    state.returnMode = ui->RadioGroup2->ItemIndex();
    state.listMode = ui->RadioGroup3->ItemIndex();
    state.listOrder = ui->RadioGroup4->ItemIndex();
    if (opened_) {
        state.LoanDate = FromQDate(ui->DateEdit1->date());
        state.DueDate = FromQDate(ui->DateEdit2->date());
    }
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
    ui->PageControl1->setCurrentIndex(state.tab);
    ui->Button3->setVisible(state.button3Visible);
    ui->Button4->setVisible(state.button4Visible);
    ui->Panel5->setVisible(state.panel5Visible);
    ui->Panel6->setVisible(state.panel6Visible);
    ui->Panel8->setVisible(state.panel8Visible);
    ui->Button1->setEnabled(state.button1Enabled);
    ui->Label18->setVisible(state.label18Visible);
    ui->Label31->setText(QString::fromStdString(state.label31));
    PushFocus();
    pushing_ = false;
}

void TFgyoumu1::PushFocus() {
    if (QLineEdit* edit = EditOf(desk_.state.focus)) edit->setFocus(Qt::OtherFocusReason);
}

}  // namespace kashidashi
