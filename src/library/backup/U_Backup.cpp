#include "library/backup/U_Backup.h"

#include <QFileDialog>
#include <filesystem>

#include "data/failure_text.h"
#include "engine/common/dates.h"

#include "library/backup/backup.h"
#include "library/backup/backup_folder.h"
#include "library/backup/backup_setting.h"
#include "library/backup/check.h"
#include "library/backup/daily_backup.h"
#include "platform/paths.h"
#include "ui_U_Backup.h"
#include "widgets/dialogs.h"
#include "widgets/progress_run.h"

namespace kashidashi {

using namespace library;

namespace {

constexpr size_t kFindingsShown = 15;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The first findings, one a line; the rest only counted.
QString FindingsText(const std::vector<std::string>& findings) {
    QString text;
    for (size_t i = 0; i < findings.size() && i < kFindingsShown; ++i)
        text += Q(findings[i]) + QStringLiteral("\r\n");
    if (findings.size() > kFindingsShown)
        text += QStringLiteral("ほか %1 件（kashidashi-admin check ですべてを表示できます）")
                    .arg(findings.size() - kFindingsShown);
    return text;
}

}  // namespace

TBackup::TBackup(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TBackup>()) {
    ui->setupUi(this);
    connect(ui->Button1, &QPushButton::clicked, this, &TBackup::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TBackup::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TBackup::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TBackup::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TBackup::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TBackup::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TBackup::Button7Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    try {
        ui->Edit1->setText(Q(BackupFolderSetting()));
        ui->Edit2->setText(Q(SecondBackupPlaceSetting()));
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
    ShowBackups();
}

TBackup::~TBackup() = default;

std::string TBackup::Folder() const {
    return platform::MapToLocalPath(ui->Edit1->text().trimmed().toStdString());
}

bool TBackup::RequireFolder() {
    if (!ui->Edit1->text().trimmed().isEmpty() && std::filesystem::is_directory(Folder()))
        return true;
    Dialogs::Warning(this, QStringLiteral("バックアップ先のフォルダを指定してください。"
                                          "（フォルダは先に作っておいてください）"));
    return false;
}

// A folder picked in the system's folder window; empty when none was.
QString TBackup::PickFolder(const QString& title, const QString& start) {
    QFileDialog picker(this, title, start);
    picker.setFileMode(QFileDialog::Directory);
    picker.setOption(QFileDialog::ShowDirsOnly);
    if (Dialogs::Exec(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return {};
    return picker.selectedFiles().front();
}

// A folder picked in the system's folder window, stored at once.
void TBackup::Button1Click() {
    QString folder = PickFolder(QStringLiteral("バックアップ先のフォルダ"), ui->Edit1->text());
    if (folder.isEmpty()) return;
    ui->Edit1->setText(folder);
    Button2Click();
}

void TBackup::Button6Click() {
    QString folder = PickFolder(QStringLiteral("2か所目の保存先"), ui->Edit2->text());
    if (folder.isEmpty()) return;
    ui->Edit2->setText(folder);
    Button7Click();
}

// The second place: empty for none; a folder that exists now, else.
void TBackup::Button7Click() {
    const QString text = ui->Edit2->text().trimmed();
    const std::string folder = platform::MapToLocalPath(text.toStdString());
    if (!text.isEmpty() && !std::filesystem::is_directory(folder)) {
        Dialogs::Warning(this, QStringLiteral("2か所目の保存先「%1」が見つかりません。"
                                              "USBメモリなどをつないでから設定してください。")
                                   .arg(text));
        return;
    }
    try {
        SetSecondBackupPlaceSetting(text.toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    Dialogs::Information(
        this, text.isEmpty()
                  ? QStringLiteral("2か所目の保存先をなしにしました。")
                  : QStringLiteral("自動バックアップを「%1」にも保存します。").arg(text));
}

void TBackup::Button2Click() {
    if (!RequireFolder()) return;
    try {
        SetBackupFolderSetting(ui->Edit1->text().trimmed().toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    ShowBackups();
}

void TBackup::Button3Click() {
    if (!RequireFolder()) return;
    std::string file =
        (std::filesystem::path(Folder()) / OnDemandBackupName(engine::Now())).string();
    DataPlace source = DeskDataPlace();
    BackupSummary summary;
    try {
        BackupOptions options;
        options.schoolName = DeskSchoolName();
        RunWithProgress(*this, *ui->ProgressBar1, [&](const Progress& progress) {
            summary = MakeBackup(source, file, progress, options);
            summary.tables = BackupRowCounts(file);
        });
    } catch (const std::exception& error) {
        Dialogs::Error(
            this, QStringLiteral("バックアップできませんでした。\r\n") + Q(FailureText(error)));
        ShowBackups();
        return;
    }
    ShowBackups();
    Dialogs::Information(this, QStringLiteral("バックアップしました。\r\n%1（%2 行）")
                                   .arg(Q(std::filesystem::path(file).filename().string()))
                                   .arg(summary.TotalRows()));
}

void TBackup::Button5Click() {
    CheckReport report;
    try {
        RunWithProgress(*this, *ui->ProgressBar1,
                        [&](const Progress&) { report = CheckPlace(DeskDataPlace(), false); });
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return;
    }
    if (report.findings.empty()) {
        Dialogs::Information(this, QStringLiteral("データに問題は見つかりませんでした。"));
        return;
    }
    Dialogs::Warning(
        this,
        QStringLiteral("データに %1 件の問題が見つかりました。\r\n").arg(report.findings.size()) +
            FindingsText(report.findings));
}

}  // namespace kashidashi
