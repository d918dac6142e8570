#include "library/overdue/U_Entai.h"

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "library/U_SaveSheet.h"
#include "library/affiliation.h"
#include "library/backup/backup_setting.h"
#include "library/overdue/overdue_prints.h"
#include "library/stats/stats_save.h"
#include "reports/preview_window.h"
#include "ui_U_Entai.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;

namespace {

constexpr int kAll = -1, kStaff = -2;  // ComboBox1's data besides class codes

std::vector<RowsColumn> ListColumns() {
    using engine::FieldType;
    engine::ColumnType text{FieldType::String, 60};
    return {{"syozoku", text, "所属"},
            {"seitoNo", text, "生徒番号"},
            {"name", text, "名前"},
            {"BOOK_ID", {FieldType::Integer}, "図書番号", "0000000"},
            {"syomei2", text, "書名"},
            {"kashidashibi", {FieldType::Date}, "貸出日"},
            {"henkyakuyotei", {FieldType::Date}, "返却予定日"},
            {"entai", {FieldType::Integer}, "延滞日数"}};
}

std::vector<engine::Value> RowOf(const OverdueLoan& loan) {
    return {engine::Value(loan.className), engine::Value(loan.pupilNo),
            engine::Value(loan.name),      engine::Value(loan.book),
            engine::Value(loan.title),     engine::Value(loan.lentOn),
            engine::Value(loan.due),       engine::Value(loan.daysOverdue)};
}

QDate ToQDate(engine::Date day) {
    auto civil = engine::ToCivil(day);
    return QDate(civil.year, civil.month, civil.day);
}

engine::Date FromQDate(const QDate& day) {
    return engine::MakeDate(day.year(), day.month(), day.day());
}

}  // namespace

TEntai::TEntai(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TEntai>()), rows_("OverdueList", ListColumns()) {
    ui->setupUi(this);
    ui->DateEdit1->setDate(ToQDate(engine::Today()));
    ui->DBGrid1->SetDataSource(&source_);
    const std::pair<const char*, int> columns[] = {
        {"syozoku", 90},  {"seitoNo", 70},      {"name", 120},         {"BOOK_ID", 70},
        {"syomei2", 260}, {"kashidashibi", 85}, {"henkyakuyotei", 85}, {"entai", 70}};
    for (const auto& [field, width] : columns) ui->DBGrid1->AddColumn(field, width);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    ui->DBGrid1->ExcelSheetName = QStringLiteral("延滞");
    connect(ui->Button1, &QPushButton::clicked, this, &TEntai::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TEntai::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TEntai::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TEntai::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TEntai::Button5Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    FillClasses();
    connect(ui->DateEdit1, &QDateEdit::dateChanged, this, &TEntai::Button1Click);
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TEntai::Button1Click);
    Button1Click();
}

TEntai::~TEntai() = default;

void TEntai::FillClasses() {
    ui->ComboBox1->addItem(QStringLiteral("すべて"), kAll);
    try {
        PlaceConnection connection(DeskDataPlace());
        for (const auto& [code, name] : ReadAffiliations(*connection))
            if (!IsStaffAffiliation(name))
                ui->ComboBox1->addItem(QString::fromStdString(name), static_cast<int>(code));
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    ui->ComboBox1->addItem(QStringLiteral("職員"), kStaff);
}

OverdueFilter TEntai::Filter() const {
    const int chosen = ui->ComboBox1->currentData().toInt();
    if (chosen == kAll) return OverdueFilter::Everybody();
    if (chosen == kStaff) return OverdueFilter::OfStaff();
    return OverdueFilter::OfClass(chosen);
}

void TEntai::Button1Click() {
    try {
        PlaceConnection connection(DeskDataPlace());
        loans_ = OverdueLoans(*connection, FromQDate(ui->DateEdit1->date()), Filter());
    } catch (const std::exception& error) {
        loans_.clear();
        Dialogs::ShowEngineError(this, error);
    }
    std::vector<std::vector<engine::Value>> rows;
    for (const auto& loan : loans_) rows.push_back(RowOf(loan));
    rows_.SetRows(std::move(rows));
    if (!rows_.Active()) rows_.Open();
    ui->Label2->setText(QStringLiteral("延滞 %1 件").arg(loans_.size()));
}

void TEntai::ShowReport(bool slips) {
    if (loans_.empty()) {
        Dialogs::Information(this, QStringLiteral("延滞している貸出はありません。"));
        return;
    }
    const engine::Date day = FromQDate(ui->DateEdit1->date());
    reports::PreparedReport report;
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        report =
            slips ? OverdueSlipsReport(loans_, day, *head) : OverdueListReport(loans_, day, *head);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    reports::TPreview preview(std::move(report), this);
    Dialogs::Exec(preview);
}

void TEntai::Button2Click() {
    ShowReport(false);
}

void TEntai::Button3Click() {
    ShowReport(true);
}

// The list as shown, as an .xlsx file (pupil and book numbers keep their zeros).
void TEntai::Button4Click() {
    SheetTable sheet{"延滞", OverdueTitles(), {}, {1, 3}};
    for (const auto& loan : loans_) sheet.rows.push_back(OverdueTexts(loan));
    SaveSheetAsked(this, sheet, FileName(".xlsx"));
}

void TEntai::Button5Click() {
    std::vector<std::vector<std::string>> lines{OverdueTitles()};
    for (const auto& loan : loans_) lines.push_back(OverdueTexts(loan));
    SaveCsvAsked(this, CsvText(lines), FileName(".csv"));
}

// "延滞_20260615.xlsx"
QString TEntai::FileName(const char* suffix) const {
    return QStringLiteral("延滞_%1%2")
        .arg(ui->DateEdit1->date().toString(QStringLiteral("yyyyMMdd")), QString(suffix));
}

}  // namespace kashidashi
