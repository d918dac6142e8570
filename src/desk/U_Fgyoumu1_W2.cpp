#include "desk/U_Fgyoumu1_W2.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>

#include "data/U_DM.h"
#include "data/field_specs.h"
#include "desk/desk_prints.h"
#include "grid/LibXGrid.h"
#include "ui_U_Fgyoumu1_W2.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {
namespace {

constexpr const char* kUserNumber = "利用者番号";

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

TFgyoumu1_W2::TFgyoumu1_W2(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFgyoumu1_W2>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Fgyoumu1_W2"));
    setFixedSize(835, 548);
    CentreOnScreen(*this);
    QPalette yellow = ui->DBText1->palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    ui->DBText1->setPalette(yellow);
    ui->RadioGroup1->SetItemIndex(0);
    SetUpButtons();
    SetUpQueries();
    SetUpFields();
    SetUpGrid();
    YoyakuFindQry.AddObserver(this);
}

TFgyoumu1_W2::~TFgyoumu1_W2() {
    ui->LibXGrid1->SetDataSource(nullptr);
    YoyakuFindQry.RemoveObserver(this);
}

// No default button: Enter in the grid saves a memo and must never lend.
void TFgyoumu1_W2::SetUpButtons() {
    ui->BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->Button2, &QPushButton::clicked, this,
            [this] { desk::ShowBookReservations(this, YoyakuFindQry); });
    connect(ui->Button3, &QPushButton::clicked, this, [this] {
        desk::ShowReservationNotice(this, YoyakuFindQry, ui->RadioGroup1->ItemIndex() == 0);
    });
}

void TFgyoumu1_W2::SetUpQueries() {
    OnDataDatabase(YoyakuFindQry);
    YoyakuFindQry.SQL().Add(
        "Select name.Name_ID ,name.Seito_No,Name, YoyakuDTime yoyakuDTime, syomei2, Memo, "
        "Book_ID, Yoyaku_No From yoyaku");
    YoyakuFindQry.SQL().Add("  Left Join Name On yoyaku.Name_ID=Name.Name_ID");
    YoyakuFindQry.SQL().Add("  Left Join Book On yoyaku.Book_ID=Book.Book_ID");
    YoyakuFindQry.SQL().Add(" where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)");
    YoyakuFindQry.SQL().Add(" Order By YoyakuDTime");
    YoyakuFindQry.BeforeInsert = [](engine::TDataSet&) { return false; };
    YoyakuFindQry.OnCalcFields = [this](engine::TDataSet& set) { YoyakuFindQryCalcFields(set); };
    OnDataDatabase(UpdateQry);
    UpdateQry.SQL().Add("Update Yoyaku Set Memo = :PM1");
    UpdateQry.SQL().Add(" Where Book_ID = :PM2 and Yoyaku_No = :PM3");
}

void TFgyoumu1_W2::SetUpFields() {
    using engine::FieldType;
    AddFields(YoyakuFindQry, {{"Name_ID", FieldType::String, 6, "固定番号"},
                              {"Seito_No", FieldType::String, 5, "運用番号"},
                              {"Name", FieldType::String, 20, "氏名"},
                              {"yoyakuDTime", FieldType::DateTime, 0, "予約日時"},
                              {"syomei2", FieldType::String, 60},
                              {"Memo", FieldType::String, 40, "メモ"},
                              {"Book_ID", FieldType::Integer},
                              {"Yoyaku_No", FieldType::Integer}});
    AddCalculatedField(YoyakuFindQry, kUserNumber, 6, kUserNumber);
}

// Only Memo is editable: the three columns before it are fixed and read-only.
void TFgyoumu1_W2::SetUpGrid() {
    TLibXGrid& grid = *ui->LibXGrid1;
    for (auto [name, width] : {std::pair{"yoyakuDTime", -1}, {kUserNumber, 84}, {"Name", 117}}) {
        TColumn& column = grid.AddColumn(name, width);
        column.ReadOnly = true;
        column.ImeMode = TImeMode::imClose;
    }
    grid.AddColumn("Memo").ImeMode = TImeMode::imHira;
    grid.SetFixedCols(3);
    grid.OnKeyPress = [this](QKeyEvent& event) { return LibXGrid1KeyPress(event); };
    grid.SetDataSource(&DataSource1);
}

bool TFgyoumu1_W2::ShowLendingForm(int64_t bookId, const std::string& isbn12) {
    return ShowForm(true, bookId, isbn12) == QDialog::Accepted;
}

void TFgyoumu1_W2::ShowReturnForm(int64_t bookId, const std::string& isbn12) {
    ShowForm(false, bookId, isbn12);
}

int TFgyoumu1_W2::ShowForm(bool lending, int64_t bookId, const std::string& isbn12) {
    YoyakuFindQry.Close();
    YoyakuFindQry.ParamByName("PM1").SetAsInteger(bookId);
    YoyakuFindQry.ParamByName("PM2").SetAsString(isbn12);
    ui->Button1->setVisible(lending);
    ui->Label2->setVisible(lending);
    ui->BitBtn2->setVisible(true);
    return Dialogs::Exec(*this);
}

// User number by UserNumberMode: 4 the pupil number, 5 the fixed number.
void TFgyoumu1_W2::YoyakuFindQryCalcFields(engine::TDataSet& dataSet) const {
    const char* source = nullptr;
    switch (TDM::Instance().settings.UserNumberMode) {
        case 4:
            source = "Seito_No";
            break;
        case 5:
            source = "Name_ID";
            break;
    }
    dataSet.FieldByName(kUserNumber)
        .SetAsString(source ? dataSet.FieldByName(source).AsString() : std::string());
}

void TFgyoumu1_W2::FormActivate() {
    try {
        YoyakuFindQry.Open();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    ui->RadioGroup1->setFocus();
}

// A memo typed but not saved with Enter is dropped with the copy.
void TFgyoumu1_W2::FormClose() {
    try {
        if (YoyakuFindQry.Active() && YoyakuFindQry.State() != engine::DataSetState::dsBrowse)
            YoyakuFindQry.Cancel();
        YoyakuFindQry.Close();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

bool TFgyoumu1_W2::LibXGrid1KeyPress(QKeyEvent& event) {
    if (!IsEnter(event)) return false;
    try {
        SaveMemo();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    return true;
}

// The grid has written the open editor into Memo before Enter reaches here.
void TFgyoumu1_W2::SaveMemo() {
    if (!YoyakuFindQry.Active() || YoyakuFindQry.IsEmpty()) return;
    if (YoyakuFindQry.State() != engine::DataSetState::dsBrowse) YoyakuFindQry.Post();
    UpdateQry.ParamByName("PM1").SetAsString(YoyakuFindQry.FieldByName("Memo").AsString());
    UpdateQry.ParamByName("PM2").SetAsInteger(YoyakuFindQry.FieldByName("Book_ID").AsInteger());
    UpdateQry.ParamByName("PM3").SetAsInteger(YoyakuFindQry.FieldByName("Yoyaku_No").AsInteger());
    UpdateQry.ExecSQL();
    // After the cell editor has closed itself, which it does once Enter is handled.
    QMetaObject::invokeMethod(this, &TFgyoumu1_W2::NextRow, Qt::QueuedConnection);
}

void TFgyoumu1_W2::NextRow() {
    try {
        if (YoyakuFindQry.Active()) YoyakuFindQry.Next();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

void TFgyoumu1_W2::ShowTitle() {
    std::string title;
    try {
        if (YoyakuFindQry.Active()) title = YoyakuFindQry.FieldByName("syomei2").AsString();
    } catch (const std::exception&) {
        title.clear();  // a title that cannot be read is not shown
    }
    ui->DBText1->setText(QString::fromStdString(title));
}

void TFgyoumu1_W2::DataSetChanged(engine::TDataSet&, engine::DataSetChange) {
    ShowTitle();
}

// The query opens at the showing; a failed open is shown once, not again at
// every activation that its own error box brings about.
void TFgyoumu1_W2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TFgyoumu1_W2::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        ui->RadioGroup1->setFocus();
}

// Enter presses the focused button and nothing else; Esc closes as BitBtn2.
void TFgyoumu1_W2::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(*event)) return QDialog::keyPressEvent(event);
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
        button->click();
}

void TFgyoumu1_W2::done(int result) {
    FormClose();
    QDialog::done(result);
}

}  // namespace kashidashi
