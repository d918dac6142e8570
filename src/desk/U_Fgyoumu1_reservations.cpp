// The desk window's controls of the reservation tabs and of the period
// lists: the option groups, the buttons and the memo's Enter in DBGrid5.
#include <QKeyEvent>

#include "desk/U_Fgyoumu1.h"
#include "desk/desk_prints.h"
#include "ui_U_Fgyoumu1.h"

namespace kashidashi {

void TFgyoumu1::ConnectReservations() {
    // すべて表示する lists by user and time until another order is chosen.
    ui->RadioGroup4->SetItemIndex(0);
    for (TRadioGroup* group : {ui->RadioGroup3, ui->RadioGroup4})
        connect(group, &TRadioGroup::Click, this,
                [this] { Run([&] { desk_.ListModeClicked(); }); });
    connect(ui->Button5, &QPushButton::clicked, this,
            [this] { Run([&] { desk_.DeleteReservation(); }); });
    connect(ui->Button9, &QPushButton::clicked, this,
            [this] { Run([&] { desk_.UpdateReservations(); }); });
    connect(ui->Button3, &QPushButton::clicked, this,
            [this] { Run([&] { desk_.PeriodList(false); }); });
    connect(ui->Button4, &QPushButton::clicked, this,
            [this] { Run([&] { desk_.PeriodList(true); }); });
    connect(ui->Button11, &QPushButton::clicked, this,
            [this] { desk::ShowReservationList(this, desk_.yoyakuQry); });
}

// Enter stores the memo of the current row (the grid has put the open
// editor's text into the row before the key arrives here). The list is read
// again after the cell editor has closed itself, on the next turn of the
// event loop.
bool TFgyoumu1::DBGrid5KeyPress(QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) return false;
    QMetaObject::invokeMethod(
        this, [this] { Run([&] { desk_.SaveMemo(); }); }, Qt::QueuedConnection);
    return true;
}

}  // namespace kashidashi
