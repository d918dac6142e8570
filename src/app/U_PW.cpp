#include "app/U_PW.h"

#include <QStyle>

#include "widgets/window_placement.h"
#include "data/pin_constants.h"
#include "ui_U_PW.h"

namespace kashidashi {

TPW::TPW(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TPW>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("PW"));
    // System menu only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    CentreOnScreen(*this);
    ui->Label2->setText(QStringLiteral("（はじめのパスワードは %1 です。）")
                            .arg(QString::fromLatin1(kDefaultPinText)));
    ui->Edit1->setText(QString::fromLatin1(kDefaultPinText));
    ui->Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->Edit1->selectAll();
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TPW::~TPW() = default;

std::string TPW::Entry() const {
    return ui->Edit1->text().toStdString();
}

}  // namespace kashidashi
