#include "desk/U_Name_Search.h"

#include <QKeyEvent>
#include <QStyle>

#include "data/U_DM.h"
#include "grid/LibXGrid.h"
#include "ui_U_Name_Search.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

TName_Search::TName_Search(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TName_Search>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Name_Search"));
    setFixedSize(468, 535);
    CentreOnScreen(*this);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    // A part of a name is typed in hiragana: the input method is on.
    ui->Edit1->setAttribute(Qt::WA_InputMethodEnabled, true);
    ui->Edit1->setInputMethodHints(Qt::ImhNone);
    ui->Edit1->installEventFilter(this);
    SetUpQuery();
    SetUpGrid();
}

TName_Search::~TName_Search() {
    ui->LibXGrid1->SetDataSource(nullptr);
}

void TName_Search::SetUpQuery() {
    OnDataDatabase(Query1);
    Query1.SQL().Add("Select Name_ID, Name, Tel from Name");
    Query1.SQL().Add(" where Name Like :PM1");
    Query1.SQL().Add(" Order By Name_ID");
}

void TName_Search::SetUpGrid() {
    TLibXGrid& grid = *ui->LibXGrid1;
    grid.AddColumn("Name_ID", 73).Title = QStringLiteral("利用者番号");
    grid.AddColumn("Name", 216).Title = QStringLiteral("利用者名");
    grid.AddColumn("Tel");
    grid.SetOptions(dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines |
                    dgRowSelect | dgConfirmDelete | dgCancelOnExit);
    grid.SetReadOnly(true);
    grid.SetDataSource(&DataSource1);
}

std::string TName_Search::FindUser(QWidget* owner) {
    TName_Search dialog(owner);
    Dialogs::Exec(dialog);
    return dialog.SelectedNameId();
}

std::string TName_Search::SelectedNameId() const {
    if (!Query1.Active() || Query1.IsEmpty()) return {};
    try {
        return Query1.FieldByName("Name_ID").AsString();
    } catch (const std::exception&) {
        return {};
    }
}

void TName_Search::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    ui->Edit1->setFocus();
}

void TName_Search::FormActivate() {
    Query1.Close();
}

void TName_Search::Search() {
    try {
        Query1.Close();
        Query1.ParamByName("PM1").SetAsString("%" + ui->Edit1->text().toStdString() + "%");
        Query1.Open();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

bool TName_Search::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Search();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kashidashi
