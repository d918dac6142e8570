#include "library/U_Kanri.h"

#include "library/backup/U_Backup.h"
#include "library/holdings/U_Zousho.h"
#include "library/inventory/U_Tenken.h"
#include "library/labels/U_Label.h"
#include "library/overdue/U_Entai.h"
#include "library/stats/U_Toukei.h"
#include "library/year/U_Nendo.h"
#include "ui_U_Kanri.h"
#include "widgets/dialogs.h"

namespace kashidashi {

TKanri::TKanri(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TKanri>()) {
    ui->setupUi(this);
    connect(ui->Button1, &QPushButton::clicked, this, &TKanri::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TKanri::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TKanri::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TKanri::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TKanri::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TKanri::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TKanri::Button7Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TKanri::~TKanri() = default;

// Created for one showing and released after it.
void TKanri::Button1Click() {
    TBackup window(this);
    Dialogs::Exec(window);
}

void TKanri::Button2Click() {
    TEntai window(this);
    Dialogs::Exec(window);
}

void TKanri::Button3Click() {
    TToukei window(this);
    Dialogs::Exec(window);
}

void TKanri::Button4Click() {
    TNendo window(this);
    Dialogs::Exec(window);
}

void TKanri::Button5Click() {
    TTenken window(this);
    Dialogs::Exec(window);
}

void TKanri::Button6Click() {
    TLabel window(this);
    Dialogs::Exec(window);
}

void TKanri::Button7Click() {
    TZousho window(this);
    Dialogs::Exec(window);
}

}  // namespace kashidashi
