#include "library/U_Label.h"

#include <QApplication>

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/backup_setting.h"
#include "library/cards.h"
#include "library/data_place.h"
#include "library/labels.h"
#include "library/sheets.h"
#include "reports/preview_window.h"
#include "reports/report_source.h"
#include "ui_U_Label.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

engine::Date FromQDate(const QDate& day) {
    return engine::MakeDate(day.year(), day.month(), day.day());
}

// The list's numbers as the desk reads a user: five digits, six in mode 5.
std::vector<std::string> UserNumbers(const std::string& text, int mode) {
    std::vector<std::string> numbers;
    for (int64_t number : NumbersOfList(text)) {
        std::string digits = std::to_string(number);
        const size_t width = mode == 5 ? 6 : 5;
        if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
        numbers.push_back(digits);
    }
    return numbers;
}

}  // namespace

TLabel::TLabel(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TLabel>()) {
    ui->setupUi(this);
    ui->DateEdit1->setDate(QDate::currentDate().addMonths(-1));
    ui->DateEdit2->setDate(QDate::currentDate());
    connect(ui->Button1, &QPushButton::clicked, this, &TLabel::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TLabel::Button2Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(sheets_.size()))
            ui->SpinBox3->setMaximum(sheets_[index].Count());
    });
    LoadChoices();
}

TLabel::~TLabel() = default;

void TLabel::LoadChoices() {
    ui->ComboBox2->addItem(QStringLiteral("全員"));
    try {
        PlaceConnection connection(DeskDataPlace());
        for (const auto& [code, name] : ReadAffiliations(*connection)) {
            classCodes_.push_back(code);
            ui->ComboBox2->addItem(Q(name));
        }
        sheets_ = AvailableSheets(*connection);
    } catch (const std::exception& error) {
        sheets_ = reports::StandardCellSheets();
        Dialogs::ShowEngineError(this, error);
    }
    ShowSheets("a4-44");
}

void TLabel::ShowSheets(const std::string& chosen) {
    ui->ComboBox1->clear();
    for (const auto& sheet : sheets_) ui->ComboBox1->addItem(Q(sheet.title));
    for (size_t i = 0; i < sheets_.size(); ++i)
        if (sheets_[i].name == chosen) ui->ComboBox1->setCurrentIndex(static_cast<int>(i));
}

reports::CellSheet TLabel::CustomSheet() const {
    reports::CellSheet sheet;
    sheet.name = kCustomSheetName;
    sheet.left = ui->DoubleSpinBox1->value(), sheet.top = ui->DoubleSpinBox2->value();
    sheet.cellWidth = ui->DoubleSpinBox3->value(), sheet.cellHeight = ui->DoubleSpinBox4->value();
    sheet.pitchX = ui->DoubleSpinBox5->value(), sheet.pitchY = ui->DoubleSpinBox6->value();
    sheet.columns = ui->SpinBox4->value(), sheet.rows = ui->SpinBox5->value();
    return sheet;
}

std::string TLabel::School() const {
    // Read as the reports read it (rptHead opens Head when it is closed).
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        head->Open();
        std::string name = head->Field("meisyou").displayText;
        head->Close();
        return name == "\u3000" ? "" : name;  // a new head row holds one blank
    } catch (const std::exception&) {
        return "";  // labels without the school rather than none
    }
}

void TLabel::Button2Click() {
    auto sheet = CustomSheet();
    if (auto problem = sheet.Problem()) {
        Dialogs::Warning(this, Q(*problem));
        return;
    }
    try {
        PlaceConnection connection(DeskDataPlace());
        SaveCustomSheet(*connection, sheet);
        sheets_ = AvailableSheets(*connection);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    ShowSheets(kCustomSheetName);
}

std::optional<reports::PreparedReport> TLabel::Prepare() {
    const int index = ui->ComboBox1->currentIndex();
    if (index < 0 || index >= static_cast<int>(sheets_.size())) return std::nullopt;
    const auto& sheet = sheets_[index];
    const int start = std::min(ui->SpinBox3->value(), sheet.Count()) - 1;
    const std::string list = ui->PlainTextEdit1->toPlainText().toStdString();
    PlaceConnection connection(DeskDataPlace());
    if (ui->RadioButton3->isChecked()) {
        const int mode = ReadUserNumberMode(*connection);
        std::vector<std::string> unknown;
        const int chosen = ui->ComboBox2->currentIndex();
        auto users =
            ui->RadioButton6->isChecked()
                ? UsersOfList(*connection, UserNumbers(list, mode), mode, unknown)
                : UsersOfClass(*connection,
                               chosen > 0 ? std::optional(classCodes_[chosen - 1]) : std::nullopt);
        if (users.empty()) return std::nullopt;
        return CardsReport(users, mode, sheet, start, School());
    }
    std::vector<int64_t> unknown;
    std::vector<LabelBook> books;
    if (ui->RadioButton4->isChecked())
        books = BooksInRange(*connection, ui->SpinBox1->value(), ui->SpinBox2->value());
    else if (ui->RadioButton5->isChecked())
        books = BooksRegistered(*connection, FromQDate(ui->DateEdit1->date()),
                                FromQDate(ui->DateEdit2->date()));
    else
        books = BooksOfList(*connection, NumbersOfList(list), unknown);
    if (books.empty()) return std::nullopt;
    return LabelsReport(books,
                        ui->RadioButton2->isChecked() ? LabelKind::Spine : LabelKind::Barcode,
                        sheet, start, School());
}

void TLabel::Button1Click() {
    std::optional<reports::PreparedReport> report;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        report = Prepare();
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        Dialogs::ShowEngineError(this, error);
        return;
    }
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::Warning(this,
                         QStringLiteral("印刷するものがありません。選び方を確かめてください。"));
        return;
    }
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
