// The desk window's grids: which data set each shows, with which columns.
#include "desk/U_Fgyoumu1.h"
#include "ui_U_Fgyoumu1.h"

namespace kashidashi {

void TFgyoumu1::SetUpGrids() {
    // The pick list: the books picked for the current user.
    ui->DBGrid1->SetDataSource(&desk_.PickListSource);
    ui->DBGrid1->AddColumn("BOOK_ID");
    ui->DBGrid1->AddColumn("syomei");
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->setFocusPolicy(Qt::ClickFocus);
    // The user's unreturned books, on the lending and the return tab.
    ui->DBGrid3->SetDataSource(&desk_.Query2Source);
    ui->DBGrid3->AddColumn("book_ID");
    ui->DBGrid3->AddColumn("syomei2", 216);
    ui->DBGrid3->AddColumn("henkyakuyotei");
    ui->DBGrid3->setFocusPolicy(Qt::ClickFocus);
    ui->DBGrid4->SetDataSource(&desk_.Query2Source);
    ui->DBGrid4->AddColumn("book_ID", 90);
    ui->DBGrid4->AddColumn("syomei2", 216);
    ui->DBGrid4->AddColumn("henkyakuyotei");
}

}  // namespace kashidashi
