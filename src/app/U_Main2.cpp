#include "app/U_Main2.h"

#include <QEvent>
#include <QStyle>
#include <filesystem>
#include <system_error>

#include "app/U_Head1.h"
#include "desk/U_Fgyoumu1.h"
#include "engine/common/dates.h"
#include "kashidashi/version.h"
#include "library/U_Kanri.h"
#include "library/backup/backup_setting.h"
#include "library/backup/backup_status.h"
#include "library/backup/daily_backup.h"
#include "library/backup/desk_presence.h"
#include "platform/paths.h"
#include "ui_U_Main2.h"
#include "widgets/dialogs.h"
#include "widgets/window_placement.h"

namespace kashidashi {

TMain2::TMain2(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TMain2>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Main2"));
    // System menu only: no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(696, 412);
    // The version at the lower left of the title band, from the first showing on.
    ui->LabelVersion->setText(QStringLiteral("バージョン ") + QString::fromUtf8(kVersion));
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui->Button1->setEnabled(false);
    ui->Button2->setEnabled(false);
    ui->Button3->setEnabled(false);
    connect(ui->Button1, &QPushButton::clicked, this, &TMain2::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TMain2::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TMain2::Button3Click);
    connect(ui->BtnUP, &QPushButton::clicked, this, &TMain2::BtnUPClick);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    FormCreate();
}

TMain2::~TMain2() = default;

// The program folder is the working folder at the moment the window is made.
void TMain2::FormCreate() {
    try {
        programFolder_ = platform::CurrentFolder();
    } catch (const std::system_error&) {
        programFolder_.clear();  // start-up says so and goes no further
    }
    guard_ = kGuardCreated;
    CentreOnScreen(*this);
}

void TMain2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A desktop without a window manager may never activate the window.
    QueueFormActivate();
}

void TMain2::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) QueueFormActivate();
}

// Runs from the event loop, not inside the window system's event: start-up
// opens modal windows.
void TMain2::QueueFormActivate() {
    QMetaObject::invokeMethod(this, &TMain2::FormActivate, Qt::QueuedConnection);
}

void TMain2::Button1Click() {
    try {
        OpenSettingsWindow();
        SetPath();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
    }
}

void TMain2::Button2Click() {
    SayBackupWarningOnce();
    StartDailyBackup();
    // Known on the school from opening to closing: no restore beside it.
    library::DeskPresence presence(library::DeskDataPlace());
    // A new desk for each opening: all desk state lives for one showing.
    TFgyoumu1 desk(nullptr);
    Dialogs::Exec(desk);
    ShowLastBackup();
}

void TMain2::Button3Click() {
    TKanri window(this);
    Dialogs::Exec(window);
    ShowLastBackup();
}

// The last sound backup of the desk's backup folder, beside 図書館の管理.
void TMain2::ShowLastBackup() {
    try {
        auto status = library::DeskBackupStatus(library::BackupFolderSetting(), engine::Today());
        ui->LabelBackup->setText(QString::fromStdString(status.line));
    } catch (const std::exception&) {
        ui->LabelBackup->clear();  // a head that cannot be read is said elsewhere
    }
}

// Once a run, as the desk opens: a backup too old, or no backup folder to be
// found; the latter is also written in the program folder's backup log.
void TMain2::SayBackupWarningOnce() {
    if (backupWarned_) return;
    backupWarned_ = true;
    library::BackupStatus status;
    std::string folder;
    try {
        folder = library::BackupFolderSetting();
        status = library::DeskBackupStatus(folder, engine::Today());
    } catch (const std::exception&) {
        return;
    }
    if (status.warning.empty()) return;
    if (!folder.empty() && !std::filesystem::is_directory(folder))
        library::AppendBackupLog(programFolder_, status.warning);
    Dialogs::Warning(this, QString::fromStdString(status.warning));
}

// The first opening of the day starts the day's backup into the desk's
// backup folder; it runs beside the desk and never delays a scan. Nothing
// here stops the desk from opening.
void TMain2::StartDailyBackup() {
    try {
        library::StartDailyBackupIfDue(library::DeskDataPlace(), library::BackupFolderSetting(),
                                       engine::Today(), library::DeskSchoolName(),
                                       library::SecondBackupPlaceSetting());
    } catch (const std::exception&) {
        // A head that cannot be read now is met, and said, by the desk itself.
    }
}

// Created for one showing, owned by the main window, released after it.
void TMain2::OpenSettingsWindow() {
    auto window = std::make_unique<THead1>(this);
    Dialogs::Exec(*window);
}

}  // namespace kashidashi
