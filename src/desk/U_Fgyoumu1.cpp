#include "desk/U_Fgyoumu1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>

#include "data/U_DM.h"
#include "desk/desk_prints.h"
#include "ui_U_Fgyoumu1.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

using desk::DeskEdit;

TFgyoumu1::TFgyoumu1(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFgyoumu1>()), desk_(this) {
    ui->setupUi(this);
    setFixedSize(1106, 728);
    CentreOnScreen(*this);
    SetUpControls();
    SetUpGrids();
    Connect();
    desk_.state.LendingBusy = false;
    desk_.ShowState = [this] { Push(); };
}

TFgyoumu1::~TFgyoumu1() {
    FormClose();
    // The grids let go of the desk's data sets before the desk goes.
    for (auto* grid : findChildren<TFixedColDBGrid*>()) grid->SetDataSource(nullptr);
}

void TFgyoumu1::SetUpControls() {
    for (int i = 1; i <= desk::kLastDeskEdit; ++i)
        if (QLineEdit* edit = EditOf(static_cast<DeskEdit>(i))) edit->installEventFilter(this);
    for (QLineEdit* edit : {ui->Edit3, ui->Edit4, ui->Edit5, ui->Edit8, ui->Edit11, ui->Edit12,
                            ui->Edit14, ui->Edit20})
        edit->setInputMethodHints(Qt::ImhLatinOnly);
    // The user field shows what is typed in upper case.
    connect(ui->Edit3, &QLineEdit::textEdited, this, [this](const QString& text) {
        int at = ui->Edit3->cursorPosition();
        ui->Edit3->setText(text.toUpper());
        ui->Edit3->setCursorPosition(at);
    });
    // Enter belongs to the field that has the focus: no button of the desk
    // is pressed by an Enter meant for a date picker or a grid.
    for (auto* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    // The hint breaks its line as the desk always showed it (CR LF).
    ui->Button9->setToolTip(
        QStringLiteral("このボタンを押すと、\r\n前年度に予約したデータは新年度の生徒番号や生徒名"
                       "に変わります。"));
    // Normal lending and the return mode on every opening.
    ui->RadioGroup1->SetItemIndex(0);
    ui->RadioGroup2->SetItemIndex(0);
    ui->Label18->setStyleSheet(QStringLiteral("color: red; font-size: 28pt; font-weight: bold;"));
}

void TFgyoumu1::Connect() {
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, [this](int tab) {
        if (!pushing_) Run([&] { desk_.SelectTab(tab); });
    });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FocusChanged(now); });
    connect(ui->Button1, &QPushButton::clicked, this, [this] { Run([&] { desk_.Lend(); }); });
    connect(ui->Button2, &QPushButton::clicked, this, [this] { Run([&] { desk_.CancelUser(); }); });
    connect(ui->Button7, &QPushButton::clicked, this, [this] { Run([&] { desk_.NameSearch(); }); });
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->Button6, &QPushButton::clicked, this, [this] { desk::ShowControlBarcodes(this); });
    // エクセル出力: the reservation status list as a spreadsheet.
    connect(ui->Button10, &QPushButton::clicked, this, [this] { ui->DBGrid6->CopyExcel(); });
    for (TRadioGroup* group : {ui->RadioGroup1, ui->RadioGroup5, ui->RadioGroup6})
        connect(group, &TRadioGroup::Click, this,
                [this] { Run([&] { desk_.LendingOptionClicked(); }); });
    connect(ui->RadioGroup2, &TRadioGroup::Click, this,
            [this] { Run([&] { desk_.ReturnModeClicked(); }); });
    ConnectReservations();
}

void TFgyoumu1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened_) return;
    opened_ = true;
    pushing_ = true;
    ui->PageControl1->setCurrentIndex(desk::kTabLending);
    pushing_ = false;
    FormActivate();
}

void TFgyoumu1::FormActivate() {
    Run([&] { desk_.Open(); });
    PlaceUserNumberControls();
}

void TFgyoumu1::PlaceUserNumberControls() {
    int mode = TDM::Instance().settings.UserNumberMode;
    if (mode == 4) {
        ui->Label25->setVisible(true);
        ui->Panel7->move(336, ui->Panel7->y());
    } else if (mode == 5) {
        ui->Button7->setVisible(true);
        ui->Panel7->move(240, ui->Panel7->y());
        ui->Button9->setVisible(false);
    }
}

// Esc would close the dialog and drop the pick list: only 閉じる and the
// window's close box close the desk.
void TFgyoumu1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFgyoumu1::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void TFgyoumu1::FormClose() {
    if (closed_ || !opened_) return;
    closed_ = true;
    Pull();
    try {
        desk_.Close();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

void TFgyoumu1::Run(const std::function<void()>& operation) {
    Pull();
    ++running_;
    try {
        operation();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    --running_;
    Push();
}

bool TFgyoumu1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    DeskEdit edit = DeskEditOf(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    return edit != DeskEdit::None && KeyPressed(edit, key->key());
}

bool TFgyoumu1::KeyPressed(DeskEdit edit, int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Run([&] { desk_.EnterPressed(edit); });
        return true;
    }
    if (edit == DeskEdit::Edit4 && key == Qt::Key_F1) {
        Run([&] { desk_.Lend(); });
        return true;
    }
    if (edit == DeskEdit::Edit4 && key == Qt::Key_F2) {
        Run([&] { desk_.CancelUser(); });
        return true;
    }
    return false;
}

void TFgyoumu1::FocusChanged(QWidget* now) {
    // Focus that leaves for a message box or another window is no entry:
    // the field is entered again only when the operator moves within the desk.
    if (pushing_ || now == nullptr || now->window() != this || !opened_ || closed_) return;
    // The focus that an activation gives back while an operation shows its
    // message is the window catching up, not the operator moving on.
    if (running_ > 0) return;
    // Focus that lands on a page other than the desk's tab is the tab widget
    // moving it while it switches pages: the desk's tab changes only through
    // the tab change, which may still refuse it.
    QTabWidget* tabs = ui->PageControl1;
    if (tabs->isAncestorOf(now) && !tabs->widget(desk_.state.tab)->isAncestorOf(now)) return;
    DeskEdit edit = DeskEditOf(now);
    if (edit == desk_.state.focus) return;
    Run([&] { desk_.FieldEntered(edit); });
}

}  // namespace kashidashi
