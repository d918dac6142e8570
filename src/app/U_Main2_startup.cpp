// The start-up sequence of the main window and SetPath, the preparation of
// the data database in a local folder or on a database server.
#include <QLocale>

#include "app/U_Main2.h"
#include "app/U_PassChk.h"
#include "app/U_SetUpHoujinmei.h"
#include "app/start_windows.h"
#include "data/U_DM.h"
#include "data/U_MakeTable.h"
#include "platform/paths.h"
#include "ui_U_Main2.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

constexpr const char* kDefaultDataFolder = "C:\\Book\\";
constexpr const char* kFullWidthBlank = "\xE3\x80\x80";  // "　"
constexpr const char* kClientServerNote = "クライアント／サーバの環境で実行しています。";

const QString kConnectFailed = QStringLiteral(
    "データベースの接続に失敗しました。\r"
    "サーバが正常に機能していないか、初期設定のデータベースエンジンの設定が正しくないない、"
    "などが考えられます。");
const QString kDataFolderWrong = QStringLiteral(
    "データパス名の設定が間違っています。\r\n"
    "設定をやり直す場合は 「はい」 、終了する場合は 「いいえ」 を選択してください。");
const QString kProgramFolderMissing = QStringLiteral(
    "プログラムのフォルダ（作業フォルダ）が見つかりません。\r\n"
    "フォルダがあることを確かめてから、もう一度起動してください。");

// The connection settings of the single head row.
void ReadHeadSettings(engine::TDBTable& head, ProgramSettings& s) {
    head.Open();
    DataSetCloser closer(head);
    head.First();
    auto text = [&](const char* name) { return head.FieldByName(name).AsString(); };
    auto number = [&](const char* name) {
        return static_cast<int>(head.FieldByName(name).AsInteger());
    };
    s.DataFolder = text("PathName1");
    s.ServerMode = number("PM4");
    s.ServerUserName = text("UserName");
    s.ServerPassword = text("UserPW");
    s.ServerHostName = text("HostName");
    s.ServerPort = number("PortNo");
    s.ServerDatabaseName = text("DataBaseName");
}

// Makes session "BBB" remote with the server settings and connects "AAA".
void ConnectToServer(TDM& dm) {
    const ProgramSettings& s = dm.settings;
    dm.DBSession1.SetSessionType(engine::SessionType::stRemote);
    auto remote = dm.DBSession1.RemoteSettings();
    remote.user = s.ServerUserName;
    remote.password = s.ServerPassword;
    remote.host = s.ServerHostName;
    remote.port = s.ServerPort;
    dm.DBSession1.SetRemoteSettings(remote);
    dm.DBDatabase1.SetRemoteDatabase(s.ServerDatabaseName);
    dm.DBDatabase1.SetConnected(true);
}

}  // namespace

void TMain2::FormActivate() {
    TDM::Instance().settings.ProductCode = kProductCode;
    if (guard_ != kGuardCreated) return;
    guard_ = kGuardStarted;
    try {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));  // yyyy/MM/dd
        if (!PrepareSettingsDatabase()) return;
        if (!AskPin()) return;
        OfferSchoolName();
        if (!SetPath()) return;
        ui->L3->setText(QString::fromUtf8(kUpdateDateText));
        LoadSharedSettings();
    } catch (const std::exception& error) {
        // The steps after the failing one do not run; the window stays open.
        Dialogs::ShowEngineError(this, error);
    }
}

// Points the settings database and the head table at the program folder and
// creates or upgrades the settings tables there.
bool TMain2::PrepareSettingsDatabase() {
    if (programFolder_.empty()) {
        Dialogs::Error(this, kProgramFolderMissing);
        return false;
    }
    TDM& dm = TDM::Instance();
    dm.settings.ProgramFolder = programFolder_;
    dm.DBDatabase2.SetConnected(false);
    dm.DBDatabase2.SetDirectory(programFolder_);
    StartWindows::MakeTable().MakeSettingsTables();
    dm.Head.Close();
    dm.Head.SetSessionName(dm.DBSession2.SessionName());
    dm.Head.SetDatabaseName(programFolder_);
    return true;
}

// A refused PIN ends the program without a message.
bool TMain2::AskPin() {
    if (!TPassChk::Instance().CheckUserPin()) {
        close();
        return false;
    }
    ui->Button1->setEnabled(true);
    ui->Button2->setEnabled(true);
    ui->Button3->setEnabled(true);
    ShowLastBackup();
    return true;
}

// A new head row carries a single full-width blank as the school name; the
// reports print it, so the desk asks for the real name until one is given.
void TMain2::OfferSchoolName() {
    engine::TDBTable& head = TDM::Instance().Head;
    bool unnamed = false;
    {
        head.Open();
        DataSetCloser closer(head);
        head.First();
        unnamed = head.FieldByName("meisyou").AsString() == kFullWidthBlank;
    }
    if (!unnamed) return;
    TSetUphoujinmei window(this);
    Dialogs::Exec(window);
}

// Reg row 10 tells which number identifies a user, row 2 whether books may be
// lent by ISBN. Both settings change only when both rows could be read.
void TMain2::LoadSharedSettings() {
    engine::TDBTable& reg = TDM::Instance().RegTB;
    reg.Open();
    DataSetCloser closer(reg);
    const int userNumberMode =
        reg.FindKey({engine::Value(10)}) ? static_cast<int>(reg.FieldByName("N1").AsInteger()) : 4;
    const int isbnLendingMode =
        reg.FindKey({engine::Value(2)}) ? static_cast<int>(reg.FieldByName("N2").AsInteger()) : 0;
    ProgramSettings& settings = TDM::Instance().settings;
    settings.UserNumberMode = userNumberMode;
    settings.IsbnLendingMode = isbnLendingMode;
}

bool TMain2::SetPath() {
    for (;;) {
        ReadConnectionSettings();
        const bool remote = TDM::Instance().settings.ServerMode == 1;
        const PathResult result = remote ? ConnectRemote() : PrepareLocal();
        if (result != PathResult::Retry) return result == PathResult::Ready;
    }
}

// Steps 1 and 2: the settings of head, then the data database let go.
void TMain2::ReadConnectionSettings() {
    TDM& dm = TDM::Instance();
    ReadHeadSettings(dm.Head, dm.settings);
    dm.DBSession1.SetActive(false);
    dm.DBDatabase1.SetConnected(false);
}

// Client/server: a failed connection leads through the settings window to a
// new attempt, until one succeeds or the operator switches to local mode.
TMain2::PathResult TMain2::ConnectRemote() {
    try {
        ConnectToServer(TDM::Instance());
    } catch (const std::exception&) {
        Dialogs::Error(this, kConnectFailed);
        OpenSettingsWindow();
        return PathResult::Retry;
    }
    ui->Edit1->setText(QString::fromUtf8(kClientServerNote));
    return PathResult::Ready;
}

// Local: the data folder, always with a trailing separator, must exist; the
// database connects when the first of its tables opens.
TMain2::PathResult TMain2::PrepareLocal() {
    TDM& dm = TDM::Instance();
    std::string& folder = dm.settings.DataFolder;
    if (folder.empty()) folder = kDefaultDataFolder;  // in memory only
    folder = platform::WithTrailingSeparator(folder);
    if (!platform::FolderExists(folder)) return AskAgainOrEnd();
    dm.DBSession1.SetSessionType(engine::SessionType::stLocal);
    dm.DBDatabase1.SetDirectory(folder);
    ui->Edit1->setText(QString::fromStdString(folder));
    return PathResult::Ready;
}

// A data folder that does not exist: set it again (Yes) or end the program.
TMain2::PathResult TMain2::AskAgainOrEnd() {
    const auto answer =
        Dialogs::Question(this, kDataFolderWrong, Dialogs::Yes | Dialogs::No | Dialogs::Cancel,
                          Dialogs::Kind::Warning);
    if (answer != Dialogs::Yes) {
        close();
        return PathResult::Ended;
    }
    OpenSettingsWindow();
    return PathResult::Retry;
}

}  // namespace kashidashi
