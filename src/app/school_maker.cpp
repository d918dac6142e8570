#include "app/school_maker.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace kashidashi {
namespace {

QString& ChosenProgram() {
    static QString program;
    return program;
}

// Long enough for the demo school on a slow shared folder.
constexpr int kWaitMs = 120000;

}  // namespace

QString AdminProgram() {
    if (!ChosenProgram().isEmpty()) return ChosenProgram();
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {here + QStringLiteral("/kashidashi-admin"),
                                     here + QStringLiteral("/../tools/kashidashi-admin")})
        if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
    return QStringLiteral("kashidashi-admin");  // from the search path
}

void SetAdminProgram(const QString& path) {
    ChosenProgram() = path;
}

std::optional<QString> MakeSchool(NewSchool kind, const QString& folder) {
    QProcess admin;
    admin.setProcessChannelMode(QProcess::MergedChannels);
    const QString command =
        kind == NewSchool::Empty ? QStringLiteral("init") : QStringLiteral("demo");
    admin.start(AdminProgram(), {command, folder});
    if (!admin.waitForStarted())
        return QStringLiteral(
            "学校を作るプログラム（kashidashi-admin）を起動できませんでした。\r\n"
            "インストールを確かめてください。");
    if (!admin.waitForFinished(kWaitMs)) {
        admin.kill();
        admin.waitForFinished();
        return QStringLiteral("学校を作るのに時間がかかりすぎたため、中止しました。");
    }
    if (admin.exitStatus() == QProcess::NormalExit && admin.exitCode() == 0) return std::nullopt;
    const QString said = QString::fromUtf8(admin.readAll()).trimmed();
    return QStringLiteral("学校を作れませんでした。\r\n%1").arg(said);
}

}  // namespace kashidashi
