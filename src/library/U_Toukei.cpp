#include "library/U_Toukei.h"

#include <QApplication>
#include <QFileDialog>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "library/backup_setting.h"
#include "library/stats_print.h"
#include "reports/fonts.h"
#include "reports/preview_window.h"
#include "ui_U_Toukei.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;

namespace {

constexpr StatsView kViews[] = {StatsView::Month, StatsView::Grade, StatsView::Class,
                                StatsView::Ndc,   StatsView::Title, StatsView::Users};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QDate ToQDate(engine::Date day) {
    auto civil = engine::ToCivil(day);
    return QDate(civil.year, civil.month, civil.day);
}

engine::Date FromQDate(const QDate& day) {
    return engine::MakeDate(day.year(), day.month(), day.day());
}

std::vector<RowsColumn> StatsColumns() {
    return {{"key", {engine::FieldType::String, 120}, "項目"},
            {"count", {engine::FieldType::Integer}, "貸出数"},
            {"users", {engine::FieldType::Integer}, "利用者数"},
            {"isbn", {engine::FieldType::String, 24}, "ISBN"}};
}

QBarSet* BarSet(const QString& name, uint32_t color) {
    auto* set = new QBarSet(name);
    set->setColor(QColor::fromRgba(color));
    return set;
}

// The bars of the view: one set (two for the Users view).
QBarSeries* BarSeries(const StatsTable& table) {
    const bool two = table.view == StatsView::Users;
    auto* first = BarSet(two ? QStringLiteral("借りた人数") : QStringLiteral("貸出数"), kBarColor);
    auto* second = two ? BarSet(QStringLiteral("利用者数"), kSecondBarColor) : nullptr;
    for (const auto& row : table.rows) {
        *first << row.count;
        if (second) *second << row.users;
    }
    auto* series = new QBarSeries;
    series->append(first);
    if (second) series->append(second);
    return series;
}

void AddAxes(QChart& chart, QBarSeries& series, const StatsTable& table) {
    auto* categories = new QBarCategoryAxis;
    int64_t largest = 1;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        categories->append(Q(ChartLabel(table, i)));
        largest = std::max({largest, table.rows[i].count, table.rows[i].users});
    }
    categories->setLabelsFont(QFont(reports::InstalledFamily("メイリオ"), 7));
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%d"));
    values->setRange(0, static_cast<double>(largest));
    values->applyNiceNumbers();
    chart.addAxis(categories, Qt::AlignBottom);
    chart.addAxis(values, Qt::AlignLeft);
    series.attachAxis(categories);
    series.attachAxis(values);
}

// The view's bar chart, for the chart view to own.
QChart* BuildChart(const StatsTable& table) {
    auto* chart = new QChart;
    auto* series = BarSeries(table);
    chart->addSeries(series);
    chart->setTitle(Q(StatsViewTitle(table.view)));
    chart->setFont(QFont(reports::InstalledFamily("メイリオ")));
    AddAxes(*chart, *series, table);
    chart->legend()->setVisible(table.view == StatsView::Users);
    return chart;
}

}  // namespace

TToukei::TToukei(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TToukei>()), rows_("StatsTable", StatsColumns()) {
    ui->setupUi(this);
    chart_ = new QChartView(ui->ChartPanel);
    chart_->setObjectName(QStringLiteral("ChartView1"));
    chart_->setRenderHint(QPainter::Antialiasing);
    ui->ChartPanel->layout()->addWidget(chart_);
    const engine::Date today = engine::Today();
    const auto civil = engine::ToCivil(today);
    ui->SpinBox1->setValue(civil.month >= 4 ? civil.year : civil.year - 1);
    ui->DateEdit1->setDate(ToQDate(SchoolYear(ui->SpinBox1->value()).first));
    ui->DateEdit2->setDate(ToQDate(today));
    for (StatsView view : kViews) ui->ComboBox1->addItem(Q(StatsViewTitle(view)));
    ui->DBGrid1->SetDataSource(&source_);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    ui->DBGrid1->AddColumn("key", 240);
    ui->DBGrid1->AddColumn("count", 80);
    ui->DBGrid1->AddColumn("users", 80);
    ui->DBGrid1->AddColumn("isbn", 120);
    ui->Splitter1->setSizes({430, 570});
    ui->DBGrid1->ExcelSheetName = QStringLiteral("統計");
    connect(ui->Button1, &QPushButton::clicked, this, &TToukei::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TToukei::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, [this] { ui->DBGrid1->CopyExcel(); });
    connect(ui->Button4, &QPushButton::clicked, this, &TToukei::Button4Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->ComboBox1, &QComboBox::currentIndexChanged, this, &TToukei::Button1Click);
    Button1Click();
}

TToukei::~TToukei() = default;

std::pair<engine::Date, engine::Date> TToukei::Period() const {
    if (ui->RadioButton1->isChecked()) return SchoolYear(ui->SpinBox1->value());
    return {FromQDate(ui->DateEdit1->date()), FromQDate(ui->DateEdit2->date())};
}

std::string TToukei::PeriodText() const {
    auto [from, to] = Period();
    std::string range = engine::FormatDate(from) + " ～ " + engine::FormatDate(to);
    if (!ui->RadioButton1->isChecked()) return range;
    return std::to_string(ui->SpinBox1->value()) + "年度（" + range + "）";
}

void TToukei::Button1Click() {
    auto [from, to] = Period();
    if (to < from) {
        Dialogs::Warning(this, QStringLiteral("期間の終わりを始めより後の日付にしてください。"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        PlaceConnection connection(DeskDataPlace());
        table_ =
            CountLoans(*connection, from, to, kViews[std::max(0, ui->ComboBox1->currentIndex())]);
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        table_ = {};
        Dialogs::ShowEngineError(this, error);
        return;
    }
    QApplication::restoreOverrideCursor();
    ShowTable();
    ShowChart();
}

void TToukei::ShowTable() {
    const auto titles = StatsTitles(table_.view);
    const bool users = table_.view == StatsView::Users, books = table_.view == StatsView::Title;
    ui->DBGrid1->Columns(0).Title = Q(titles[0]);
    ui->DBGrid1->Columns(1).Title = Q(titles[1]);
    ui->DBGrid1->Columns(2).Title = users ? Q(titles[2]) : QString();
    ui->DBGrid1->Columns(2).Visible = users;
    ui->DBGrid1->Columns(3).Visible = books;
    ui->DBGrid1->ColumnsChanged();
    std::vector<std::vector<engine::Value>> rows;
    for (size_t i = 0; i < table_.rows.size(); ++i) {
        const auto& row = table_.rows[i];
        std::string key = books ? std::to_string(i + 1) + "　" + row.key : row.key;
        rows.push_back({engine::Value(key), engine::Value(row.count), engine::Value(row.users),
                        engine::Value(row.isbn)});
    }
    rows_.SetRows(std::move(rows));
    if (!rows_.Active()) rows_.Open();
    ui->Label2->setText(Q(PeriodText()) +
                        (users ? QString() : QStringLiteral("　貸出数 %1").arg(table_.loans)));
}

void TToukei::ShowChart() {
    auto* chart = BuildChart(table_);
    QChart* old = chart_->chart();
    chart_->setChart(chart);
    delete old;  // the view does not own a chart it was given before
}

void TToukei::Button2Click() {
    reports::PreparedReport report;
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        report = StatsReport(table_, PeriodText(), *head);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    reports::TPreview preview(std::move(report), this);
    Dialogs::Exec(preview);
}

// The table to a CSV file of the operator's choice (code page 932).
void TToukei::Button4Click() {
    QFileDialog picker(this, QStringLiteral("CSV ファイルに保存"), QString(),
                       QStringLiteral("CSV ファイル (*.csv)"));
    picker.setAcceptMode(QFileDialog::AcceptSave);
    picker.setDefaultSuffix(QStringLiteral("csv"));
    if (Dialogs::Exec(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return;
    ui->DBGrid1->CsvFileName = picker.selectedFiles().front().toStdString();
    if (ui->DBGrid1->CopyCsvFile() > 0)
        Dialogs::Information(
            this, QStringLiteral("保存しました。\r\n%1").arg(picker.selectedFiles().front()));
}

}  // namespace kashidashi
