// The program update: the updater "dload.exe" is fetched whole over HTTPS into
// the folder of the program file and started with the address of this
// product's update package; the program then ends so the updater can replace
// it. A failure says so and leaves the program running as before.
#include <QCoreApplication>

#include "app/U_Main2.h"
#include "widgets/dialogs.h"
#include "app/web_addresses.h"
#include "data/U_DM.h"
#include "platform/download.h"
#include "platform/shell.h"

namespace kashidashi {
namespace {

const QString kUpdateFailed = QStringLiteral("バージョンアップが正常に出来ませんでした。");

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

// "<package address>" "" : the package as the first argument, an empty second.
std::string UpdaterArguments(const std::string& productCode) {
    const std::string package = std::string(kUpdatePackageBase) + "/" + productCode + ".exe";
    return "\"" + package + "\" \"\"";
}

}  // namespace

TMain2::UpdateHooks TMain2::DefaultUpdateHooks() {
    return {DownloadOverHttps,
            [](const std::string& file, const std::string& arguments) {
                return platform::ShellOpen(file, arguments);
            },
            [] { return QCoreApplication::applicationDirPath().toStdString(); }};
}

void TMain2::SetUpdateHooks(UpdateHooks hooks) {
    const UpdateHooks defaults = DefaultUpdateHooks();
    if (!hooks.download) hooks.download = defaults.download;
    if (!hooks.start) hooks.start = defaults.start;
    if (!hooks.programFileFolder) hooks.programFileFolder = defaults.programFileFolder;
    Hooks() = std::move(hooks);
}

void TMain2::BtnUPClick() {
    const auto answer = Dialogs::Question(this, QStringLiteral("バージョンアップを実行しますか。"),
                                          Dialogs::Yes | Dialogs::No, Dialogs::Kind::Information);
    if (answer != Dialogs::Yes) return;
    if (!StartUpdater()) {
        Dialogs::Warning(this, kUpdateFailed);
        return;
    }
    close();
}

// Nothing is started unless this run's download of it completed: a file left
// by an earlier attempt is never run.
bool TMain2::StartUpdater() {
    const std::string target = Hooks().programFileFolder() + "/dload.exe";
    if (!Hooks().download(kUpdaterAddress, target)) return false;
    return Hooks().start(target, UpdaterArguments(TDM::Instance().settings.ProductCode));
}

}  // namespace kashidashi
