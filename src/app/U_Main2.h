// TMain2: the main window, created first, so the program ends when it closes.
//
// Start-up runs from FormActivate the first time the window becomes active:
// it prepares the settings database in the program folder, asks for the PIN,
// offers the school name window while no name is registered, connects the
// data database (SetPath) and loads the two shared settings of Reg. Every
// later activation only sets ProductCode again (the start-up guard).
//
// The title band shows the program's version (LabelVersion, lower left)
// from the start and the update date (L3, lower right) once start-up is done.
//
// Buttons: Button1 the initial settings window, Button2 the lending desk,
// BitBtn1 closes, BtnUP the program update, and below them Button3 the
// librarian's management window 図書館の管理 (TKanri). Button1, Button2 and
// Button3 stay disabled until the PIN has been accepted, so a start-up that
// failed before the prompt leaves no way into the settings or the desk.
//
// Opening the desk first starts the day's automatic backup when it is due
// (in a thread of its own, library/backup/daily_backup.h): the desk itself knows
// nothing of backups.
//
// Files: U_Main2.cpp (window, buttons), U_Main2_startup.cpp (start-up
// sequence, SetPath), U_Main2_update.cpp (program update).
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class TMain2;
}

namespace kashidashi {

class TMain2 : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kProductCode = "PKV3R";
    static constexpr const char* kUpdateDateText = "更新日2020年07月29日";
    static constexpr int kGuardCreated = 10;
    static constexpr int kGuardStarted = -1;

    // What the program update reaches outside the program; tests replace it.
    struct UpdateHooks {
        // Stores the resource at an https address in a file; false on failure.
        std::function<bool(const std::string& url, const std::string& file)> download;
        // Starts a program file with a Windows-style argument text.
        std::function<bool(const std::string& file, const std::string& arguments)> start;
        // The folder of the running program file, without a trailing "/".
        std::function<std::string()> programFileFolder;
        // The updater's address and the packages' base (web_addresses.h
        // when not set; empty: the program knows no update server).
        std::optional<std::string> updaterAddress, packageBase;
    };
    static UpdateHooks DefaultUpdateHooks();
    static void SetUpdateHooks(UpdateHooks hooks);  // empty members: the defaults

    explicit TMain2(QWidget* parent = nullptr);
    ~TMain2() override;

    // The start-up sequence; runs at every activation, past the guard once.
    void FormActivate();
    // Reads the connection settings from head and prepares the data database.
    // False when the operator chose to end the program (the window is closed).
    bool SetPath();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void BtnUPClick();

    int StartUpGuard() const { return guard_; }
    const std::string& ProgramFolder() const { return programFolder_; }

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // What one attempt of SetPath came to.
    enum class PathResult { Ready, Retry, Ended };

    void FormCreate();
    void QueueFormActivate();
    bool PrepareSettingsDatabase();
    bool AskPin();
    void OfferSchoolName();
    void LoadSharedSettings();
    void ReadConnectionSettings();
    PathResult ConnectRemote();
    PathResult PrepareLocal();
    PathResult AskAgainOrEnd();
    void OpenSettingsWindow();
    // Empty when the updater was started; otherwise why not, for the operator.
    QString StartUpdater();
    void StartDailyBackup();
    void ShowLastBackup();
    void SayBackupWarningOnce();

    std::unique_ptr<Ui::TMain2> ui;
    bool backupWarned_ = false;
    int guard_ = 0;
    std::string programFolder_;  // "" when the system could not tell it
};

}  // namespace kashidashi
