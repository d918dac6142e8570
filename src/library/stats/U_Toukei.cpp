#include "library/stats/U_Toukei.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <cstdio>

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "library/U_SaveSheet.h"
#include "library/backup/backup_setting.h"
#include "library/stats/stats_print.h"
#include "library/stats/stats_save.h"
#include "reports/fonts.h"
#include "reports/preview_window.h"
#include "ui_U_Toukei.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;

namespace {

constexpr int kChartLabelRoom = 440;  // pixels under the bars, at the least

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

// Four columns of texts, titled and shown as the view needs them.
std::vector<RowsColumn> StatsColumns() {
    const engine::ColumnType text{engine::FieldType::String, 120};
    return {{"c0", text, "項目"}, {"c1", text, ""}, {"c2", text, ""}, {"c3", text, ""}};
}

// Pixels of each column for a view's titles.
std::vector<int> ColumnWidths(StatsView view) {
    switch (view) {
        case StatsView::Title:
            return {40, 190, 105, 55};
        case StatsView::ReadersClass:
        case StatsView::ReadersGrade:
            return {80, 40, 170, 55};
        default:
            return {150, 70, 70, 80};
    }
}

QBarSet* BarSet(const QString& name, uint32_t color) {
    auto* set = new QBarSet(name);
    set->setColor(QColor::fromRgba(color));
    return set;
}

// The bars of the view: one set (two for the Users view).
QBarSeries* BarSeries(const StatsTable& table, const std::vector<ChartBar>& bars) {
    const bool two = TwoBars(table);
    const QString name =
        two ? QStringLiteral("借りた人数")
        : table.view == StatsView::PerPupilClass || table.view == StatsView::PerPupilGrade
            ? QStringLiteral("一人当たり")
            : QStringLiteral("貸出数");
    auto* first = BarSet(name, kBarColor);
    auto* second = two ? BarSet(QStringLiteral("利用者数"), kSecondBarColor) : nullptr;
    for (const auto& bar : bars) {
        *first << bar.value;
        if (second) *second << bar.second;
    }
    auto* series = new QBarSeries;
    series->append(first);
    if (second) series->append(second);
    return series;
}

// The labels stand upright when they would not fit side by side.
void AddAxes(QChart& chart, QBarSeries& series, const std::vector<ChartBar>& bars) {
    auto* categories = new QBarCategoryAxis;
    double largest = 1;
    const QFont font(reports::InstalledFamily("メイリオ"), bars.size() > kCompactBars ? 7 : 8);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const auto& bar : bars) {
        categories->append(Q(bar.label));
        widest = std::max(widest, metrics.horizontalAdvance(Q(bar.label)));
        largest = std::max({largest, bar.value, bar.second});
    }
    categories->setLabelsFont(font);
    if (!bars.empty() && widest * static_cast<int>(bars.size()) > kChartLabelRoom)
        categories->setLabelsAngle(-90);
    auto* values = new QValueAxis;
    values->setLabelFormat(largest < 10 ? QStringLiteral("%.1f") : QStringLiteral("%d"));
    values->setRange(0, largest);
    values->applyNiceNumbers();
    chart.addAxis(categories, Qt::AlignBottom);
    chart.addAxis(values, Qt::AlignLeft);
    series.attachAxis(categories);
    series.attachAxis(values);
}

// The view's bar chart, for the chart view to own.
QChart* BuildChart(const StatsTable& table) {
    auto* chart = new QChart;
    const auto bars = ChartBars(table);
    auto* series = BarSeries(table, bars);
    chart->addSeries(series);
    chart->setTitle(Q(StatsViewTitle(table.view)));
    chart->setFont(QFont(reports::InstalledFamily("メイリオ")));
    AddAxes(*chart, *series, bars);
    chart->legend()->setVisible(TwoBars(table));
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
    for (StatsView view : AllStatsViews()) ui->ComboBox1->addItem(Q(StatsViewTitle(view)));
    ui->DBGrid1->SetDataSource(&source_);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    for (const char* column : {"c0", "c1", "c2", "c3"}) ui->DBGrid1->AddColumn(column);
    ui->Splitter1->setSizes({430, 570});
    ui->DBGrid1->ExcelSheetName = QStringLiteral("統計");
    connect(ui->Button1, &QPushButton::clicked, this, &TToukei::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TToukei::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TToukei::Button3Click);
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
        table_ = CountLoans(*connection, from, to,
                            AllStatsViews()[std::max(0, ui->ComboBox1->currentIndex())]);
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
    const auto widths = ColumnWidths(table_.view);
    for (int c = 0; c < 4; ++c) {
        auto& column = ui->DBGrid1->Columns(c);
        column.Visible = c < static_cast<int>(titles.size());
        column.Title = column.Visible ? Q(titles[c]) : QString();
        column.Width = widths[c];
    }
    ui->DBGrid1->ColumnsChanged();
    std::vector<std::vector<engine::Value>> rows;
    for (size_t i = 0; i < table_.rows.size(); ++i) {
        std::vector<engine::Value> row;
        auto texts = StatsTexts(table_, i);
        texts.resize(4);
        for (auto& text : texts) row.emplace_back(std::move(text));
        rows.push_back(std::move(row));
    }
    rows_.SetRows(std::move(rows));
    if (!rows_.Active()) rows_.Open();
    ui->Label2->setText(Q(PeriodText()) + QStringLiteral("　貸出数 %1").arg(table_.loans) +
                        Q(Share()));
}

// The share of users who borrowed, for the Users view.
std::string TToukei::Share() const {
    if (table_.view != StatsView::Users) return {};
    int64_t borrowers = 0, users = 0;
    for (const auto& row : table_.rows) borrowers += row.count, users += row.users;
    char text[96];
    std::snprintf(text, sizeof text, "　借りた人 %lld / %lld 人（%.1f%%）",
                  static_cast<long long>(borrowers), static_cast<long long>(users),
                  users ? 100.0 * borrowers / users : 0.0);
    return text;
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

// The table as an .xlsx file of the operator's choice, opened on the desktop.
void TToukei::Button3Click() {
    SheetTable sheet{"統計", StatsTitles(table_.view), {}, {}};
    for (size_t i = 0; i < table_.rows.size(); ++i) sheet.rows.push_back(StatsTexts(table_, i));
    if (table_.view == StatsView::Title) sheet.textColumns = {2};  // the ISBN's 13 digits
    if (table_.view == StatsView::ReadersClass || table_.view == StatsView::ReadersGrade)
        sheet.textColumns = {2};
    SaveSheetAsked(this, sheet, FileName(".xlsx"));
}

// The table to a CSV file of the operator's choice (code page 932).
void TToukei::Button4Click() {
    SaveCsvAsked(this, StatsCsv(table_), FileName(".csv"));
}

// "統計_よく借りられた本_2025年度.xlsx"
QString TToukei::FileName(const char* suffix) const {
    const std::string period = ui->RadioButton1->isChecked()
                                   ? std::to_string(ui->SpinBox1->value()) + "年度"
                                   : ui->DateEdit1->date().toString("yyyyMMdd").toStdString() +
                                         "-" +
                                         ui->DateEdit2->date().toString("yyyyMMdd").toStdString();
    return Q("統計_" + StatsViewTitle(table_.view) + "_" + period + suffix);
}

}  // namespace kashidashi
