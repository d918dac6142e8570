// Restoring the chosen backup in place of the desk's data.
#include <filesystem>

#include "data/failure_text.h"
#include "engine/common/dates.h"
#include "library/backup/U_Backup.h"
#include "library/backup/backup_folder.h"
#include "library/backup/backup_setting.h"
#include "library/backup/restore.h"
#include "ui_U_Backup.h"
#include "widgets/dialogs.h"
#include "widgets/progress_run.h"

namespace kashidashi {
namespace {

QString Question(const QString& name, const QString& madeAt, const QString& place) {
    return QStringLiteral(
               "いまのデータ（%1）を、バックアップ「%2」（%3）の内容で置き換えます。\r\n"
               "置き換える前に、いまのデータをバックアップ先のフォルダにバックアップします。\r\n"
               "すべての端末で貸出・返却の画面を閉じてから行ってください。\r\n\r\n"
               "復元してよろしいですか？")
        .arg(place, name, madeAt);
}

}  // namespace

void TBackup::Button4Click() {
    const int row = ui->Grid1->currentRow();
    if (row < 0 || !ui->Grid1->item(row, 2)) {
        Dialogs::Warning(this, QStringLiteral("復元するバックアップを一覧から選んでください。"));
        return;
    }
    if (!RequireFolder()) return;
    const QString name = ui->Grid1->item(row, 2)->text();
    const QString madeAt = ui->Grid1->item(row, 0)->text();
    const QString place = QString::fromStdString(library::DeskDataPlace().Name());
    if (Dialogs::Question(this, Question(name, madeAt, place), Dialogs::Yes | Dialogs::No,
                          Dialogs::Kind::Warning) != Dialogs::Yes)
        return;
    Restore(ui->Grid1->item(row, 2)->data(Qt::UserRole).toString().toStdString());
}

// Another school's backup is restored only after a second question that
// names both schools.
bool TBackup::SameSchoolOrAgreed(const std::string& file) {
    auto other = library::OtherSchoolOf(file, library::DeskDataPlace());
    if (!other) return true;
    QString text = QStringLiteral(
                       "このバックアップは別の学校（%1）のものです。\r\n"
                       "いまのデータは%2のものです。\r\n\r\n"
                       "それでも%1のバックアップで置き換えますか？")
                       .arg(QString::fromStdString(library::SchoolText(other->backup)),
                            QString::fromStdString(library::SchoolText(other->dest)));
    return Dialogs::Question(this, text, Dialogs::Yes | Dialogs::No, Dialogs::Kind::Warning) ==
           Dialogs::Yes;
}

void TBackup::Restore(const std::string& file) {
    const std::string before =
        (std::filesystem::path(Folder()) / library::BeforeRestoreName(engine::Now())).string();
    const library::DataPlace dest = library::DeskDataPlace();
    library::RestoreSummary summary;
    try {
        if (!SameSchoolOrAgreed(file)) return;
        RunWithProgress(*this, *ui->ProgressBar1, [&](const library::Progress& progress) {
            summary = library::Restore(file, dest, before, progress,
                                       [](const auto&, const auto&) { return true; });
        });
    } catch (const std::exception& error) {
        ShowBackups();
        Dialogs::Error(this, QStringLiteral("復元できませんでした。\r\n") +
                                 QString::fromStdString(FailureText(error)));
        return;
    }
    ShowBackups();
    QString text = QStringLiteral("復元しました。");
    if (!summary.before.empty())
        text += QStringLiteral("\r\nそれまでのデータは「%1」にあります。")
                    .arg(QString::fromStdString(
                        std::filesystem::path(summary.before).filename().string()));
    Dialogs::Information(this, text);
}

}  // namespace kashidashi
