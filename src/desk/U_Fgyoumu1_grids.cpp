// The desk window's grids: which data set each shows, with which columns.
#include "desk/U_Fgyoumu1.h"
#include "ui_U_Fgyoumu1.h"

#include <utility>

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
    // The queue of the reserved book: only the memo is typed in, and Enter
    // stores it. The three columns before it are fixed (the indicator is no
    // column here), so Tab and Home land on the memo.
    ui->DBGrid5->SetDataSource(&desk_.yoyakuQrySource);
    for (auto [name, width] : {std::pair{"yoyakuDTime", 156}, {"利用者番号", -1}, {"Name", -1}})
        ui->DBGrid5->AddColumn(name, width).ReadOnly = true;
    ui->DBGrid5->AddColumn("Memo", 384).ImeMode = TImeMode::imHira;
    ui->DBGrid5->SetFixedCols(3);
    ui->DBGrid5->OnKeyPress = [this](QKeyEvent& event) { return DBGrid5KeyPress(event); };
    // The lists of 予約状況.
    ui->DBGrid6->SetDataSource(&desk_.yoyakuQrySource);
    for (auto [name, width] : {std::pair{"Book_ID", -1},
                               {"syomei2", 234},
                               {"kashidashiF", -1},
                               {"henkyakuyotei", -1},
                               {"利用者番号", -1},
                               {"Name", 162},
                               {"yoyakuDTime", 176}})
        ui->DBGrid6->AddColumn(name, width);
    ui->DBGrid6->SetReadOnly(true);
}

}  // namespace kashidashi
