#include "library/holdings/U_Zousho.h"

#include <QApplication>
#include <QLineEdit>

#include "catalogue/box_text.h"
#include "data/U_DM.h"
#include "library/holdings/columns.h"
#include "library/holdings/zousho_text.h"
#include "reports/report_source.h"
#include "ui_U_Zousho.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

using namespace library::holdings;

TZousho::TZousho(QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TZousho>()),
      hitRows_("Books", BookHitColumns()),
      userRows_("Users", UserListColumns()),
      userBookRows_("UserBooks", UserBookColumns()),
      codeRows_("Codes", CodeColumns()) {
    ui->setupUi(this);
    ui->PageControl1->addTab(MakeBooksTab(), QStringLiteral("図書"));
    ui->PageControl1->addTab(MakeUsersTab(), QStringLiteral("利用者"));
    ui->PageControl1->addTab(MakeSettingsTab(), QStringLiteral("設定"));
    ui->PageControl1->widget(0)->setObjectName("TabSheet1");
    ui->PageControl1->widget(1)->setObjectName("TabSheet2");
    ui->PageControl1->widget(2)->setObjectName("TabSheet3");
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    ShowBook(0);
    ShowUser("");
    FitOnScreen(*this);
    Edit1->setFocus();
}

TZousho::~TZousho() = default;

bool TZousho::Guarded(const std::function<void()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        work();
        QApplication::restoreOverrideCursor();
        return true;
    } catch (const Refused& refused) {
        QApplication::restoreOverrideCursor();
        Dialogs::Warning(this, QString::fromStdString(refused.what()));
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        Dialogs::ShowEngineError(this, error);
    }
    return false;
}

// Typed, pasted or filled, the box keeps what its column stores.
void TZousho::LimitBox(QLineEdit* box, int bytes, bool reading, bool number) {
    box->setAttribute(Qt::WA_InputMethodEnabled, !number);
    connect(box, &QLineEdit::textChanged, box, [box, bytes, reading, number] {
        catalogue::BoxText text{box->text(), box->cursorPosition()};
        if (number)
            for (auto& c : text.text)
                if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
                    c = QChar('0' + (c.unicode() - 0xFF10));
        if (reading) text = catalogue::AsReading(text);
        if (bytes > 0) text = catalogue::FitToBytes(text, bytes);
        if (text.text == box->text()) return;
        const QSignalBlocker block(box);
        box->setText(text.text);
        box->setCursorPosition(text.cursor);
    });
}

std::string TZousho::SchoolName() const {
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        head->Open();
        std::string name = head->Field("meisyou").displayText;
        head->Close();
        return name == "\u3000" ? "" : name;  // a new head row holds one blank
    } catch (const std::exception&) {
        return "";
    }
}

QLineEdit* TZousho::BookBox(const std::string& column) const {
    auto it = bookBoxes_.find(column);
    return it == bookBoxes_.end() ? nullptr : it->second;
}

QLineEdit* TZousho::UserBox(const std::string& column) const {
    auto it = userBoxes_.find(column);
    return it == userBoxes_.end() ? nullptr : it->second;
}

}  // namespace kashidashi
