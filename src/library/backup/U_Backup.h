// TBackup: バックアップ, the backups of the school's data, for the desk this
// program runs on.
//
//   Edit1    the backup folder (the desk's own setting, backup_setting.h);
//            Button1 参照 picks it, Button2 設定 stores it
//   Edit2    the second place each automatic backup is copied to (a USB
//            stick, a share); Button6 参照 picks it, Button7 設定 stores it
//   Grid1    the backups in the folder, newest first: made at, kind, file,
//            size and the rows of the main tables; a backup whose checksum
//            does not match is marked （壊れています） in its kind
//   Button3  今すぐバックアップ: one backup now, with progress in ProgressBar1
//   Button4  復元: the chosen backup put in place of the data, after a clear
//            question and a backup of what the data holds now
//   Button5  データの点検: the consistency check of the data, its findings
//            shown in a message
//   Label2   what the last automatic backup did (the folder's log)
//   BitBtn1  閉じる
//
// Every question and message goes through Dialogs; long work runs in a
// thread while the window waits (widgets/progress_run.h).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TBackup;
}

namespace kashidashi {

class TBackup : public QDialog {
    Q_OBJECT
  public:
    explicit TBackup(QWidget* parent = nullptr);
    ~TBackup() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    // Lists the backup folder again.
    void ShowBackups();

  private:
    std::string Folder() const;  // Edit1 as a local path
    bool RequireFolder();        // says so when Edit1 names no folder
    QString PickFolder(const QString& title, const QString& start);
    void Restore(const std::string& file);
    bool SameSchoolOrAgreed(const std::string& file);

    std::unique_ptr<Ui::TBackup> ui;
};

}  // namespace kashidashi
