#include "library/U_Nendo.h"

#include <QFileDialog>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/U_DM.h"
#include "engine/common/dates.h"
#include "library/backup_setting.h"
#include "library/overdue_prints.h"
#include "widgets/progress_run.h"
#include "platform/paths.h"
#include "reports/preview_window.h"
#include "ui_U_Nendo.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using namespace library;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<RowsColumn> PlanColumns() {
    std::vector<RowsColumn> columns;
    const char* names[] = {"kind",    "NAME_ID",    "NAME",       "syozoku",
                           "seitoNo", "newSyozoku", "newSeitoNo", "biko"};
    const auto titles = RolloverTitles();
    for (size_t i = 0; i < titles.size(); ++i)
        columns.push_back({names[i], {engine::FieldType::String, i == 7 ? 400 : 40}, titles[i]});
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
    return loans;
}

}  // namespace

TNendo::TNendo(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNendo>()), rows_("RolloverPlan", PlanColumns()) {
    ui->setupUi(this);
    ui->DBGrid1->SetDataSource(&source_);
    const int widths[] = {70, 70, 120, 80, 70, 80, 90, 400};
    const auto columns = PlanColumns();
    for (size_t i = 0; i < columns.size(); ++i) ui->DBGrid1->AddColumn(columns[i].name, widths[i]);
    ui->DBGrid1->SetReadOnly(true);
    ui->DBGrid1->SetOptions(ui->DBGrid1->Options() | dgRowSelect);
    ui->DBGrid1->ExcelSheetName = QStringLiteral("年度更新");
    ui->Button3->setEnabled(false);
    ui->Button4->setEnabled(false);
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
    picker.setFileMode(QFileDialog::ExistingFile);
    if (Dialogs::Exec(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return;
    ui->Edit1->setText(picker.selectedFiles().front());
    Button2Click();
}

bool TNendo::ReadFile() {
    const std::string path = platform::MapToLocalPath(ui->Edit1->text().trimmed().toStdString());
    std::ifstream in(path, std::ios::binary);
    if (ui->Edit1->text().trimmed().isEmpty() || !in) {
        Dialogs::Warning(this, QStringLiteral("新年度の名簿（CSV ファイル）を指定してください。"));
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    bytes_ = bytes.str();
    return true;
}

void TNendo::Button2Click() {
    ui->Button3->setEnabled(false);
    ui->Button4->setEnabled(false);
    plan_ = {};
    rows_.SetRows({});
    if (!ReadFile()) return;
    try {
        PlaceConnection connection(DeskDataPlace());
        plan_ = PlanRollover(*connection, bytes_);
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
        rows.push_back({"誤り", "", "", "", "", "", "",
                        std::to_string(problem.line) + "行目: " + problem.reason});
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
    ui->Label2->setText(
        QStringLiteral(
            "変更 %1 人、新規 %2 人、削除 %3 人（予約 %4 件）、残す %5 人、変わらない %6 人")
            .arg(plan_.changes.size())
            .arg(plan_.added.size())
            .arg(plan_.removed.size())
            .arg(plan_.reservations.size())
            .arg(plan_.kept.size())
            .arg(plan_.unchanged));
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
        const DataPlace place = DeskDataPlace();  // read here, not in the worker thread
        RunWithProgress(*this, *ui->ProgressBar1, [&](const Progress& progress) {
            result = ApplyRollover(place, bytes_, file, progress);
        });
    } catch (const std::exception& error) {
        Dialogs::Error(this, QStringLiteral("年度更新できませんでした。何も変えていません。\r\n") +
                                 Q(error.what()));
        return false;
    }
    plan_ = result.plan;
    ShowPlan();
    ui->Button4->setEnabled(false);
    return true;
}

void TNendo::Button4Click() {
    auto file = BackupFile();
    if (!file) return;
    const QString question =
        QStringLiteral(
            "年度更新を実行します。\r\n先にバックアップを作ります: %1\r\n"
            "他の場所で図書ソフトが動いていないことを確認して実行してください。")
            .arg(Q(*file));
    if (Dialogs::Question(this, question, Dialogs::Yes | Dialogs::No) != Dialogs::Yes) return;
    if (!Apply(*file)) return;
    Dialogs::Information(this, QStringLiteral("年度更新を実行しました。\r\nバックアップ: %1\r\n%2")
                                   .arg(Q(*file), ui->Label2->text()));
}

}  // namespace kashidashi
