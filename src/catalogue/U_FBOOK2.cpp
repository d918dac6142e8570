#include "catalogue/U_FBOOK2.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <utility>

#include "data/U_DM.h"
#include "ui_U_FBOOK2.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {
namespace {

// The boxes in the order of their Enter chain, with their columns.
struct BoxColumn {
    catalogue::TDBEdit* Ui::TFBook2::*box;
    const char* column;
};
constexpr BoxColumn kBoxes[] = {
    {&Ui::TFBook2::E1, "BOOK_ID"},     {&Ui::TFBook2::E2, "tourokubi"},
    {&Ui::TFBook2::E3, "ISBN"},        {&Ui::TFBook2::E4, "syomei1"},
    {&Ui::TFBook2::E5, "syomei2"},     {&Ui::TFBook2::E6, "key1"},
    {&Ui::TFBook2::E7, "syomei3"},     {&Ui::TFBook2::E8, "cyosya1"},
    {&Ui::TFBook2::E9, "cyosya2"},     {&Ui::TFBook2::E10, "cyosya3"},
    {&Ui::TFBook2::E11, "cyosya4"},    {&Ui::TFBook2::E12, "key2"},
    {&Ui::TFBook2::E13, "NDC_ID"},     {&Ui::TFBook2::E14, "HKN_ID"},
    {&Ui::TFBook2::E15, "syuppansya"}, {&Ui::TFBook2::E16, "syuppannen"},
    {&Ui::TFBook2::E17, "ookisa"},     {&Ui::TFBook2::E18, "pageSuu"},
    {&Ui::TFBook2::E19, "kakaku"},
};
constexpr int kBoxCount = sizeof kBoxes / sizeof kBoxes[0];

// The input method a box asks for: IME off, or on for Japanese typing.
void SetInputMode(QLineEdit& box, bool imeOn) {
    box.setAttribute(Qt::WA_InputMethodEnabled, imeOn);
    box.setInputMethodHints(imeOn ? Qt::ImhNone : Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

}  // namespace

TFBook2::TFBook2(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFBook2>()) {
    ui->setupUi(this);
    setFixedSize(699, 646);
    BindBoxes();
    ui->E1->setReadOnly(true);
    ui->E1->setMaxLength(9);
    ui->E3->setMaxLength(13);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->RadioGroup7, &TRadioGroup::Click, this, &TFBook2::RadioGroup7Click);
    CentreOnScreen(*this);
}

TFBook2::~TFBook2() = default;

void TFBook2::BindBoxes() {
    TDM& dm = TDM::Instance();
    for (const BoxColumn& b : kBoxes) {
        catalogue::TDBEdit* box = ui.get()->*b.box;
        box->Bind(dm.BOOK, b.column);
        box->installEventFilter(this);
        const std::string column = b.column;
        const bool reading = column == "key1" || column == "key2";
        const bool japanese = column.rfind("syomei", 0) == 0 || column.rfind("cyosya", 0) == 0 ||
                              column == "syuppansya" || reading;
        SetInputMode(*box, japanese);
        box->SetReading(reading);
    }
    ui->DBLookupComboBox1->Bind(dm.BOOK, "NDC_ID", dm.NDC, "NDC_ID", "NDC");
    ui->DBLookupComboBox2->Bind(dm.BOOK, "HKN_ID", dm.HKN, "HKN_ID", "HKN");
}

template <class Handler>
void TFBook2::Guarded(Handler handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

bool TFBook2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Guarded([this] { FormActivate(); });
    return QDialog::event(event);
}

void TFBook2::FormActivate() {
    TDM& dm = TDM::Instance();
    dm.NDC.Open();
    dm.HKN.Open();
    ui->DBLookupComboBox1->LoadList();
    ui->DBLookupComboBox2->LoadList();
    {
        DataSetCloser closer(dm.Head);
        dm.Head.Open();
        ui->RadioGroup7->SetItemIndex(static_cast<int>(dm.Head.FieldByName("PM8").AsInteger()));
    }
    // Later activations follow a message box: the focus stays where the
    // operator (or the lookup) put it.
    if (!std::exchange(activated_, true)) ui->E3->setFocus();
}

void TFBook2::done(int result) {
    if (searching_) return;  // the lookup's end comes first
    Guarded([&] {
        // OK takes what is typed in the box that still has the focus.
        if (result == QDialog::Accepted)
            for (const BoxColumn& b : kBoxes) (ui.get()->*b.box)->UpdateRecord();
        TDM::Instance().NDC.Close();
        TDM::Instance().HKN.Close();
    });
    QDialog::done(result);
}

void TFBook2::closeEvent(QCloseEvent* event) {
    if (searching_) return event->ignore();
    QDialog::closeEvent(event);
}

void TFBook2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (ui->BitBtn2->isEnabled() && !searching_) ui->BitBtn2->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFBook2::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    bool taken = false;
    if (box) Guarded([&] { taken = FilterBoxEvent(box, event); });
    return taken || QDialog::eventFilter(watched, event);
}

// True when the box's event is taken here.
bool TFBook2::FilterBoxEvent(QLineEdit* box, QEvent* event) {
    if (event->type() == QEvent::FocusOut && box == ui->E5) E5Exit();
    if (event->type() != QEvent::KeyPress) return false;
    if (searching_) return true;  // keys wait for the lookup's end
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (box == ui->E3) {
        E3KeyPress();
        return true;  // the lookup takes the Enter
    }
    EnterKeyDown(box);
    return false;  // the key goes on to the box
}

void TFBook2::EnterKeyDown(QLineEdit* box) {
    for (int i = 0; i < kBoxCount; ++i)
        if (ui.get()->*kBoxes[i].box == box)
            return (ui.get()->*kBoxes[(i + 1) % kBoxCount].box)->setFocus();
}

void TFBook2::E5Exit() {
    const bool titled = !ui->E5->text().isEmpty();
    ui->BitBtn1->setEnabled(titled);
    if (titled) ui->BitBtn2->setEnabled(false);
}

void TFBook2::RadioGroup7Click() {
    ui->E3->setFocus();
    ui->E3->clear();
}

}  // namespace kashidashi
