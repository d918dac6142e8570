// The program update.
//
// An installed copy (the program file under /usr, put there by the system's
// package manager) is updated with the system's package updates: the button
// says so and does nothing else. A copy built elsewhere fetches the updater
// "dload.exe" whole over HTTPS into the folder of the program file and
// starts it with the address of this product's update package; the program
// then ends so the updater can replace it. A failure says so and why (no
// update server known, the folder cannot be written, the download failed,
// the updater did not start) and leaves the program running as before.
#include <unistd.h>
#include <QCoreApplication>

#include "app/U_Main2.h"
#include "app/web_addresses.h"
#include "data/U_DM.h"
#include "platform/download.h"
#include "platform/shell.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

const QString kUpdateFailed = QStringLiteral("バージョンアップが正常に出来ませんでした。");
const QString kInstalledCopy = QStringLiteral(
    "このプログラムはシステムのパッケージとしてインストールされています。\r\n"
    "新しいバージョンは、システムのソフトウェアの更新（パッケージの更新）で届きます。");

TMain2::UpdateHooks& Hooks() {
    static TMain2::UpdateHooks hooks = TMain2::DefaultUpdateHooks();
    return hooks;
}

bool DownloadOverHttps(const std::string& url, const std::string& file) {
    platform::DownloadOptions options;
    options.allowedSchemes = {"https"};  // also for every redirect
    options.executable = true;
    return platform::DownloadUrlToFile(url, file, options);
}

// The package manager's folders: a program file there is never replaced by
// the program itself.
bool IsInstalledCopy(const std::string& programFileFolder) {
    for (const char* system : {"/usr/", "/bin/", "/sbin/"})
        if ((programFileFolder + "/").starts_with(system)) return true;
    return false;
}

// "<package address>" "" : the package as the first argument, an empty second.
std::string UpdaterArguments(const std::string& packageBase, const std::string& productCode) {
    const std::string package = packageBase + "/" + productCode + ".exe";
    return "\"" + package + "\" \"\"";
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TMain2::UpdateHooks TMain2::DefaultUpdateHooks() {
    return {DownloadOverHttps,
            [](const std::string& file, const std::string& arguments) {
                return platform::ShellOpen(file, arguments);
            },
            [] { return QCoreApplication::applicationDirPath().toStdString(); }, kUpdaterAddress,
            kUpdatePackageBase};
}

void TMain2::SetUpdateHooks(UpdateHooks hooks) {
    const UpdateHooks defaults = DefaultUpdateHooks();
    if (!hooks.download) hooks.download = defaults.download;
    if (!hooks.start) hooks.start = defaults.start;
    if (!hooks.programFileFolder) hooks.programFileFolder = defaults.programFileFolder;
    if (!hooks.updaterAddress) hooks.updaterAddress = defaults.updaterAddress;
    if (!hooks.packageBase) hooks.packageBase = defaults.packageBase;
    Hooks() = std::move(hooks);
}

void TMain2::BtnUPClick() {
    if (IsInstalledCopy(Hooks().programFileFolder())) {
        Dialogs::Information(this, kInstalledCopy);
        return;
    }
    const auto answer = Dialogs::Question(this, QStringLiteral("バージョンアップを実行しますか。"),
                                          Dialogs::Yes | Dialogs::No, Dialogs::Kind::Information);
    if (answer != Dialogs::Yes) return;
    if (const QString why = StartUpdater(); !why.isEmpty()) {
        Dialogs::Warning(this, kUpdateFailed + QStringLiteral("\r\n") + why);
        return;
    }
    close();
}

// Nothing is started unless this run's download of it completed: a file left
// by an earlier attempt is never run.
QString TMain2::StartUpdater() {
    const std::string address = Hooks().updaterAddress.value_or("");
    const std::string packageBase = Hooks().packageBase.value_or("");
    if (address.empty() || packageBase.empty())
        return QStringLiteral("更新プログラムの配布先（アドレス）が設定されていません。");
    const std::string folder = Hooks().programFileFolder();
    // "/." : the folder must be a folder one can write in.
    if (access((folder + "/.").c_str(), W_OK) != 0)
        return QStringLiteral(
                   "プログラムのフォルダ %1 に書き込めません（書き込みの許可がありません）。")
            .arg(Q(folder));
    const std::string target = folder + "/dload.exe";
    if (!Hooks().download(address, target))
        return QStringLiteral(
                   "更新プログラムをダウンロードできませんでした（%1）。"
                   "ネットワークの接続を確かめてください。")
            .arg(Q(address));
    if (!Hooks().start(target, UpdaterArguments(packageBase, TDM::Instance().settings.ProductCode)))
        return QStringLiteral("ダウンロードした更新プログラム %1 を起動できませんでした。")
            .arg(Q(target));
    return {};
}

}  // namespace kashidashi
