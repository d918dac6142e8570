#include "app/U_SetUpHoujinmei.h"

#include <QCloseEvent>

#include "widgets/dialogs.h"
#include "widgets/window_placement.h"
#include "data/U_DM.h"
#include "data/utilities.h"
#include "ui_U_SetUpHoujinmei.h"

namespace kashidashi {

TSetUphoujinmei::TSetUphoujinmei(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TSetUphoujinmei>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("SetUphoujinmei"));
    // No close box or other border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(562, 250);
    CentreOnScreen(*this);
    connect(ui->Button1, &QPushButton::clicked, this, &TSetUphoujinmei::Button1Click);
    Table1.SetTableName("head");
    bindings_.Add(ui->DBEdit2, Table1, "meisyou", QStringLiteral("学校名"));
}

TSetUphoujinmei::~TSetUphoujinmei() = default;

void TSetUphoujinmei::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!opened_) {
        opened_ = true;
        FormActivate();
    }
}

void TSetUphoujinmei::FormActivate() {
    try {
        Table1.SetSessionName(TDM::Instance().DBSession2.SessionName());
        Table1.SetDatabaseName(TDM::Instance().settings.ProgramFolder);
        Table1.Open();
        Table1.First();
        Table1.Edit();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    bindings_.Load();
    ui->DBEdit2->setFocus();
}

void TSetUphoujinmei::Button1Click() {
    const std::string name = ui->DBEdit2->text().toStdString();
    if (RemoveBlanks(name).empty()) return;  // a blank name: the window stays
    nameGiven_ = true;
    if (FormClose()) {
        QDialog::done(QDialog::Accepted);
        return;
    }
    nameGiven_ = false;
}

bool TSetUphoujinmei::FormClose() {
    using engine::DataSetState;
    try {
        if (Table1.State() == DataSetState::dsEdit) {
            bindings_.Store(Table1);
            Table1.Post();
        }
        Table1.Close();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return false;
    }
    return true;
}

void TSetUphoujinmei::reject() {}

void TSetUphoujinmei::closeEvent(QCloseEvent* event) {
    if (nameGiven_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
}

}  // namespace kashidashi
