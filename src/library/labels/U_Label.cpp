#include "library/labels/U_Label.h"

#include <QApplication>
#include <QButtonGroup>

#include "data/U_DM.h"
#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/backup/backup_setting.h"
#include "library/data_place.h"
#include "library/labels/cards.h"
#include "library/labels/labels.h"
#include "library/labels/sheets.h"
#include "library/school_name.h"
#include "reports/preview_window.h"
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

// "0000012, 0000099" for the notes; the first `shown` of them.
template <typename Number, typename Text>
QString NumbersText(const std::vector<Number>& numbers, Text text) {
    constexpr size_t shown = 20;
    QStringList parts;
    for (size_t i = 0; i < numbers.size() && i < shown; ++i) parts << Q(text(numbers[i]));
    if (numbers.size() > shown) parts << QStringLiteral("ほか %1 件").arg(numbers.size() - shown);
    return parts.join(QStringLiteral("、"));
}

}  // namespace

TLabel::TLabel(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TLabel>()) {
    ui->setupUi(this);
    // Two groups of their own (the radios share one parent).
    auto* kinds = new QButtonGroup(this);
    for (auto* radio : {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3})
        kinds->addButton(radio);
    auto* selections = new QButtonGroup(this);
    for (auto* radio : {ui->RadioButton4, ui->RadioButton5, ui->RadioButton7, ui->RadioButton6})
        selections->addButton(radio);
    ui->RadioButton1->setChecked(true);
    ui->RadioButton4->setChecked(true);
    connect(kinds, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) KindChosen();
    });
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
    KindChosen();
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

void TLabel::KindChosen() {
    const bool cards = ui->RadioButton3->isChecked();
    ui->RadioButton4->setEnabled(!cards);
    ui->RadioButton5->setEnabled(!cards);
    ui->RadioButton7->setEnabled(cards);
    ui->ComboBox2->setEnabled(cards);
    if (cards && !ui->RadioButton6->isChecked()) ui->RadioButton7->setChecked(true);
    if (!cards && ui->RadioButton7->isChecked()) ui->RadioButton4->setChecked(true);
    ShowSheets(cards ? "card-10" : ui->RadioButton2->isChecked() ? "a4-65" : "a4-44");
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

void TLabel::Button2Click() {
    auto sheet = CustomSheet();
    if (auto problem = sheet.Problem()) {
        Dialogs::Warning(this, Q(*problem));
        return;
    }
    // The sheet is the school's: every desk prints on it from now on.
    const QString question =
        QStringLiteral(
            "ユーザー設定の用紙を次の寸法で保存します（学校のすべての机で使われます）。\n"
            "%1\nよろしいですか？")
            .arg(Q(CustomSheetText(sheet)));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No) != Dialogs::Yes) return;
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
    notes_.clear();
    const int index = ui->ComboBox1->currentIndex();
    if (index < 0 || index >= static_cast<int>(sheets_.size())) return std::nullopt;
    const auto& sheet = sheets_[index];
    const int start = std::min(ui->SpinBox3->value(), sheet.Count()) - 1;
    const std::string list = ui->PlainTextEdit1->toPlainText().toStdString();
    const auto symbology =
        ui->ComboBox3->currentIndex() == 1 ? reports::Symbology::Nw7 : reports::Symbology::Code39;
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
        if (!unknown.empty())
            notes_ << QStringLiteral("次の利用者番号の人はいません: ") +
                          NumbersText(unknown, [](const std::string& n) { return n; });
        if (users.empty()) return std::nullopt;
        return CardsReport(users, mode, sheet, start, ReportSchoolName(), symbology);
    }
    std::vector<int64_t> unknown;
    std::vector<LabelBook> books;
    if (ui->RadioButton4->isChecked() && ui->SpinBox1->value() > ui->SpinBox2->value())
        notes_ << QStringLiteral("図書番号の範囲が逆さまです。小さい番号から入れてください。");
    else if (ui->RadioButton5->isChecked() && ui->DateEdit1->date() > ui->DateEdit2->date())
        notes_ << QStringLiteral("登録日の期間が逆さまです。前の日から入れてください。");
    else if (ui->RadioButton4->isChecked())
        books = BooksInRange(*connection, ui->SpinBox1->value(), ui->SpinBox2->value());
    else if (ui->RadioButton5->isChecked())
        books = BooksRegistered(*connection, FromQDate(ui->DateEdit1->date()),
                                FromQDate(ui->DateEdit2->date()));
    else
        books = BooksOfList(*connection, NumbersOfList(list), unknown);
    if (!unknown.empty())
        notes_ << QStringLiteral("次の図書番号の本は登録されていません: ") +
                      NumbersText(unknown, desk::BookNumberText);
    if (books.empty()) return std::nullopt;
    const bool spine = ui->RadioButton2->isChecked();
    if (auto blank = WithoutCallNumber(books); spine && !blank.empty())
        notes_ << QStringLiteral(
                      "次の本には請求記号も NDC もないので、背ラベルに「%1」と印刷します: ")
                          .arg(Q(kNoCallNumber)) +
                      NumbersText(blank, desk::BookNumberText);
    return LabelsReport(books, spine ? LabelKind::Spine : LabelKind::Barcode, sheet, start,
                        ReportSchoolName(), symbology);
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
    QStringList told = notes_;
    if (!report) {
        told << QStringLiteral("印刷するものがありません。選び方を確かめてください。");
        Dialogs::Warning(this, told.join(QStringLiteral("\n")));
        return;
    }
    if (!told.isEmpty()) Dialogs::Warning(this, told.join(QStringLiteral("\n")));
    reports::TPreview preview(std::move(*report), this);
    Dialogs::Exec(preview);
}

}  // namespace kashidashi
