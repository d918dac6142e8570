#include "library/year/U_Nendo.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/U_DM.h"
#include "data/failure_text.h"
#include "engine/common/dates.h"
#include "library/backup/backup_setting.h"
#include "library/overdue/overdue_prints.h"
#include "library/school_name.h"
#include "platform/paths.h"
#include "reports/preview_window.h"
#include "ui_U_Nendo.h"
#include "widgets/dialogs.h"
#include "widgets/progress_run.h"

namespace kashidashi {

using namespace library;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<RowsColumn> PlanColumns() {
    std::vector<RowsColumn> columns;
    const char* names[] = {"kind", "NAME_ID", "NAME", "syozoku", "seitoNo", "biko"};
    const auto titles = RolloverTitles();
    for (size_t i = 0; i < titles.size(); ++i)
        columns.push_back({names[i], {engine::FieldType::String, i == 5 ? 400 : 80}, titles[i]});
    return columns;
}

std::vector<std::vector<engine::Value>> Values(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::vector<engine::Value>> values;
    for (const auto& row : rows) {
        std::vector<engine::Value> line;
        for (const auto& text : row) line.emplace_back(text);
        values.push_back(std::move(line));
    }
    return values;
}

// The kept users' books as an overdue list, for the print.
std::vector<OverdueLoan> KeptLoans(const RolloverPlan& plan, engine::Date today) {
    std::vector<OverdueLoan> loans;
    for (const auto& entry : plan.kept)
        for (const auto& loan : entry.loans)
            loans.push_back({entry.before.classCode, entry.before.className, false,
                             entry.before.pupilNo, entry.before.nameId, entry.before.name,
                             loan.book, loan.title, loan.lentOn, loan.due,
                             std::max(0, today.days - loan.due.days)});
    // One class a page: the print starts a page where the class changes.
    std::stable_sort(loans.begin(), loans.end(), [](const auto& a, const auto& b) {
        return std::tie(a.classCode, a.pupilNo) < std::tie(b.classCode, b.pupilNo);
    });
    return loans;
}

}  // namespace

TNendo::TNendo(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNendo>()), rows_("RolloverPlan", PlanColumns()) {
    ui->setupUi(this);
    ui->DBGrid1->SetDataSource(&source_);
    const int widths[] = {70, 70, 200, 160, 100, 400};
    const auto columns = PlanColumns();
    for (size_t i = 0; i < columns.size(); ++i) ui->DBGrid1->AddColumn(columns[i].name, widths[i]);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    ui->DBGrid1->ExcelSheetName = QStringLiteral("年度更新");
    ui->Button3->setEnabled(false);
    ui->Button4->setEnabled(false);
    ui->StringGrid1->setColumnCount(2);
    ui->StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("所属コード"), QStringLiteral("名前")});
    ui->StringGrid1->horizontalHeader()->setStretchLastSection(true);
    ui->StringGrid1->verticalHeader()->setVisible(false);
    ui->StringGrid1->hide();
    ui->Label4->hide();
    connect(ui->Button1, &QPushButton::clicked, this, &TNendo::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TNendo::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TNendo::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TNendo::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, [this] { ui->DBGrid1->CopyExcel(); });
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    rows_.Open();
}

TNendo::~TNendo() = default;

void TNendo::Button1Click() {
    QFileDialog picker(this, QStringLiteral("新年度の名簿"), ui->Edit1->text(),
                       QStringLiteral("CSV ファイル (*.csv *.CSV);;すべてのファイル (*)"));
    picker.setFileMode(QFileDialog::ExistingFiles);
    if (Dialogs::Exec(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return;
    ui->Edit1->setText(picker.selectedFiles().join(QStringLiteral("; ")));
    Button2Click();
}

bool TNendo::ReadFile() {
    files_.clear();
    for (const QString& name : ui->Edit1->text().split(';', Qt::SkipEmptyParts)) {
        if (name.trimmed().isEmpty()) continue;
        const std::string path = platform::MapToLocalPath(name.trimmed().toStdString());
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            Dialogs::Warning(
                this, QStringLiteral("名簿のファイル「%1」を開けません。").arg(name.trimmed()));
            return false;
        }
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files_.push_back({std::filesystem::path(path).filename().string(), bytes.str()});
    }
    if (files_.empty())
        Dialogs::Warning(this, QStringLiteral("新年度の名簿（CSV ファイル）を指定してください。"));
    return !files_.empty();
}

void TNendo::Button2Click() {
    ui->Button3->setEnabled(false);
    ui->Button4->setEnabled(false);
    plan_ = {};
    rows_.SetRows({});
    ui->Label3->clear();
    ShowNewClasses();
    if (!ReadFile()) return;
    try {
        PlaceConnection connection(DeskDataPlace());
        plan_ = PlanRollover(*connection, files_);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    if (!plan_.Good()) return ShowProblems();
    ShowPlan();
}

void TNendo::ShowProblems() {
    std::vector<std::vector<std::string>> rows;
    for (const auto& problem : plan_.problems)
        rows.push_back({"誤り", "", "", "", "", ProblemPlace(problem) + ": " + problem.reason});
    rows_.SetRows(Values(rows));
    ui->Label2->setText(
        QStringLiteral("名簿に誤りが %1 件あります。直してから読み込み直してください。")
            .arg(plan_.problems.size()));
    Dialogs::Warning(
        this, QStringLiteral("新年度の名簿に誤りがあります（%1 件）。\r\n何も変えていません。")
                  .arg(plan_.problems.size()));
}

void TNendo::ShowPlan() {
    rows_.SetRows(Values(RolloverRows(plan_)));
    ui->Label2->setText(Q(RolloverSummary(plan_)) +
                        (plan_.warnings.empty()
                             ? QString()
                             : QStringLiteral("　注意 %1 件").arg(plan_.warnings.size())));
    const std::string classes = RolloverClassSummary(plan_);
    ui->Label3->setText(classes.empty() ? QString() : QStringLiteral("所属別: ") + Q(classes));
    ShowNewClasses();
    ui->Button3->setEnabled(!plan_.kept.empty());
    ui->Button4->setEnabled(true);
}

void TNendo::Button3Click() {
    reports::PreparedReport report;
    try {
        auto head = reports::RowsSource(TDM::Instance().rptHead);
        report = OverdueListReport(KeptLoans(plan_, engine::Today()), engine::Today(), *head,
                                   "名簿にない利用者の貸出中図書");
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    reports::TPreview preview(std::move(report), this);
    Dialogs::Exec(preview);
}

// The backup file in the desk's backup folder; nothing (said so) without one.
std::optional<std::string> TNendo::BackupFile() {
    std::string folder;
    try {
        folder = platform::MapToLocalPath(BackupFolderSetting());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return std::nullopt;
    }
    if (!folder.empty() && std::filesystem::is_directory(folder))
        return (std::filesystem::path(folder) / RolloverBackupName(engine::Now())).string();
    Dialogs::Warning(this, QStringLiteral("バックアップ先のフォルダが設定されていません。\r\n"
                                          "先に「バックアップ」の画面で設定してください。"));
    return std::nullopt;
}

// The new year put in place, with progress; false (said so) when it failed.
bool TNendo::Apply(const std::string& file) {
    RolloverResult result;
    try {
        RolloverOptions options;
        options.allowRemovals = true;  // asked already
        options.classNames = ClassNames();
        options.school = ReportSchoolName();
        const DataPlace place = DeskDataPlace();  // read here, not in the worker thread
        RunWithProgress(*this, *ui->ProgressBar1, [&](const Progress& progress) {
            options.progress = progress;
            result = ApplyRollover(place, files_, file, options);
        });
    } catch (const std::exception& error) {
        Dialogs::Error(this, QStringLiteral("年度更新できませんでした。何も変えていません。\r\n") +
                                 Q(FailureText(error)));
        return false;
    }
    plan_ = result.plan;
    statsFolder_ = result.statsFolder;
    ShowPlan();
    ui->Button4->setEnabled(false);
    ui->StringGrid1->setEnabled(false);
    return true;
}

// The second yes when a whole class, grade or the staff would leave, or
// more than a tenth of the users.
bool TNendo::ConfirmRemovals() {
    if (plan_.alarms.empty()) return true;
    QString text = QStringLiteral("この名簿で年度更新すると、次の利用者がいなくなります。\r\n");
    for (const auto& alarm : plan_.alarms) text += QStringLiteral("　・") + Q(alarm) + "\r\n";
    text += Q(RolloverSummary(plan_)) + "\r\n";
    const std::string classes = RolloverClassSummary(plan_);
    if (!classes.empty()) text += QStringLiteral("所属別: ") + Q(classes) + "\r\n";
    text += QStringLiteral("名簿がそろっているか確かめてください。このまま進めますか？");
    // いいえ is the default: an Enter meant for something else keeps the school.
    return Dialogs::Question(this, text, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Question,
                             Dialogs::No) == Dialogs::Yes;
}

void TNendo::ShowNewClasses() {
    const bool any = !plan_.newClasses.empty();
    ui->StringGrid1->setRowCount(static_cast<int>(plan_.newClasses.size()));
    for (size_t i = 0; i < plan_.newClasses.size(); ++i) {
        auto* code = new QTableWidgetItem(QString::number(plan_.newClasses[i].code));
        code->setFlags(code->flags() & ~Qt::ItemIsEditable);
        ui->StringGrid1->setItem(static_cast<int>(i), 0, code);
        ui->StringGrid1->setItem(static_cast<int>(i), 1,
                                 new QTableWidgetItem(Q(plan_.newClasses[i].name)));
    }
    ui->StringGrid1->setEnabled(true);
    // As tall as its rows, so that the plan keeps the room.
    const int rows = std::min<int>(static_cast<int>(plan_.newClasses.size()), 4);
    ui->StringGrid1->setFixedHeight(
        ui->StringGrid1->horizontalHeader()->height() +
        std::max(rows, 1) * ui->StringGrid1->verticalHeader()->defaultSectionSize() + 6);
    ui->StringGrid1->setVisible(any);
    ui->Label4->setVisible(any);
}

std::map<int64_t, std::string> TNendo::ClassNames() const {
    std::map<int64_t, std::string> names;
    for (int row = 0; row < ui->StringGrid1->rowCount(); ++row) {
        auto* code = ui->StringGrid1->item(row, 0);
        auto* name = ui->StringGrid1->item(row, 1);
        if (code && name) names[code->text().toLongLong()] = name->text().trimmed().toStdString();
    }
    return names;
}

void TNendo::Button4Click() {
    if (!ConfirmRemovals()) return;
    auto file = BackupFile();
    if (!file) return;
    const QString question =
        QStringLiteral(
            "年度更新を実行します。\r\n先にバックアップを作ります: %1\r\n"
            "終わる年度の統計もその隣に保存します。\r\n"
            "他の場所で図書ソフトが動いていないことを確認して実行してください。")
            .arg(Q(*file));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No) != Dialogs::Yes) return;
    if (!Apply(*file)) return;
    Dialogs::Information(this, QStringLiteral("年度更新を実行しました。\r\nバックアップ: %1\r\n"
                                              "終わる年度の統計: %2\r\n%3")
                                   .arg(Q(*file), Q(statsFolder_), ui->Label2->text()));
}

}  // namespace kashidashi
