// The data folder of the initial settings window: 参照 (Button3) chooses a
// folder; a folder without a school is filled only when the operator says so.
#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include "app/U_Head1.h"
#include "app/U_SchoolChoice.h"
#include "app/school_maker.h"
#include "data/school_folder.h"
#include "platform/paths.h"
#include "ui_U_Head1.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

// Where the folder dialog starts: the folder of the field when it exists,
// else the drive root ("C:\" and the others live there), else home.
QString StartFolder(const QString& field) {
    const std::string local = platform::MapToLocalPath(field.toStdString());
    if (!local.empty() && platform::FolderExists(local)) return QString::fromStdString(local);
    const std::string root = platform::DriveRootFolder();
    if (platform::FolderExists(root)) return QString::fromStdString(root);
    return QDir::homePath();
}

// Qt's own dialog, not the desktop's: it speaks Japanese through Qt's
// translations whatever language the desktop was set to.
std::optional<QString> ChooseFolder(QWidget* parent, const QString& start) {
    QFileDialog dialog(parent, QStringLiteral("データフォルダの選択"), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (Dialogs::Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(dialog.selectedFiles().first());
}

}  // namespace

void THead1::Button3Click() {
    QString start = StartFolder(ui->RDBEdit8->text());
    for (;;) {
        const auto folder = ChooseFolder(this, start);
        if (!folder) return;
        start = *folder;
        switch (SchoolIn(*folder)) {
            case FolderState::School:
                break;
            case FolderState::Unreadable:
                return;
            case FolderState::Empty:
                if (!OfferNewSchool(*folder)) continue;
                break;
        }
        ui->RDBEdit8->setText(
            QString::fromStdString(platform::WithTrailingSeparator(folder->toStdString())));
        return;
    }
}

THead1::FolderState THead1::SchoolIn(const QString& folder) {
    try {
        return FolderHoldsSchool(folder.toStdString()) ? FolderState::School : FolderState::Empty;
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return FolderState::Unreadable;
    }
}

// False when the operator chose another folder, or the school could not be
// made (said in a message).
bool THead1::OfferNewSchool(const QString& folder) {
    TSchoolChoice choice(folder, this);
    Dialogs::Exec(choice);
    if (choice.Chosen() == TSchoolChoice::Choice::Again) return false;
    const NewSchool kind =
        choice.Chosen() == TSchoolChoice::Choice::Demo ? NewSchool::Demo : NewSchool::Empty;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto failure = MakeSchool(kind, folder);
    QApplication::restoreOverrideCursor();
    if (failure) {
        Dialogs::Error(this, *failure);
        return false;
    }
    Dialogs::Information(this, kind == NewSchool::Demo ? QStringLiteral("デモの学校を作りました。")
                                                       : QStringLiteral("空の学校を作りました。"));
    return true;
}

}  // namespace kashidashi
