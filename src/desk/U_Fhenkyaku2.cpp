#include "desk/U_Fhenkyaku2.h"

#include <QStyle>

#include "data/U_DM.h"
#include "grid/LibXGrid.h"
#include "ui_U_Fhenkyaku2.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

TFhenkyaku2::TFhenkyaku2(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFhenkyaku2>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Fhenkyaku2"));
    setFixedSize(469, 333);
    CentreOnScreen(*this);
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->DBGrid1, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    SetUpQuery();
    SetUpGrid();
}

TFhenkyaku2::~TFhenkyaku2() {
    ui->DBGrid1->SetDataSource(nullptr);
}

void TFhenkyaku2::SetUpQuery() {
    OnDataDatabase(Query1);
    Query1.RequestLive = true;
    Query1.SQL().Add("Select Name.Seito_No, Name.Name, kashibo.Book_ID From kashibo, Name");
    Query1.SQL().Add("  where Name.Name_ID=kashibo.Name_ID and kashidashiF='1'  and ISBN_ID=:PM");
}

void TFhenkyaku2::SetUpGrid() {
    TLibXGrid& grid = *ui->DBGrid1;
    grid.AddColumn("Seito_No").Title = QStringLiteral("運用番号");
    grid.AddColumn("Name").Title = QStringLiteral("氏名");
    grid.SetReadOnly(true);
    grid.SetDataSource(&DataSource1);
}

std::optional<int64_t> TFhenkyaku2::PickHolder(const std::string& isbn12) {
    Query1.Close();
    Query1.ParamByName("PM").SetAsString(isbn12);
    DataSetCloser closer(Query1);
    Query1.Open();
    if (Query1.IsEmpty()) return std::nullopt;
    Dialogs::Exec(*this);
    return Query1.FieldByName("Book_ID").AsInteger();
}

void TFhenkyaku2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->DBGrid1->setFocus();
}

}  // namespace kashidashi
