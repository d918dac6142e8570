#include "desk/U_SetRenge1.h"

#include <QDate>
#include <QStyle>

#include "ui_U_SetRenge1.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {
namespace {

std::string DateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd")).toStdString();
}

}  // namespace

TSetRenge1::TSetRenge1(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TSetRenge1>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("SetRenge1"));
    setFixedSize(525, 258);
    CentreOnScreen(*this);
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TSetRenge1::~TSetRenge1() = default;

bool TSetRenge1::Execute() {
    return Dialogs::Exec(*this) == QDialog::Accepted;
}

void TSetRenge1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QDate today = QDate::currentDate();
    ui->DateEdit1->setDate(today);
    ui->DateEdit2->setDate(today);
    ui->DateEdit1->setFocus();
}

void TSetRenge1::done(int result) {
    RangeStartText = DateText(ui->DateEdit1->date());
    RangeEndText = DateText(ui->DateEdit2->date());
    QDialog::done(result);
}

}  // namespace kashidashi
