// The command lines of both built programs: --help and --version answer
// without a display and create nothing; the desk refuses anything else
// with a usage line, before any window or database is made.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/app_fixture.h"

namespace app_test {
namespace {

#if defined(KX_DESK_PROGRAM) && defined(KX_ADMIN_TOOL)

struct ProgramRun {
    int status = -1;
    QString out, err;
};

// Runs `program` in an empty working folder and home, with no display and a
// window system that needs one: a window would end it with an error.
ProgramRun RunWithoutDisplay(const char* program, const QStringList& args, const QString& folder) {
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), folder);
    environment.insert(QStringLiteral("KASHIDASHI_DRIVE_ROOT"), folder + "/drives");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QString::fromUtf8(program), args);
    ProgramRun run;
    if (!process.waitForFinished(30000)) return run;
    if (process.exitStatus() == QProcess::NormalExit) run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(CommandLine, HelpAndVersionAnswerAndAnythingElseIsRefusedCreatingNothing) {
    const QString deskUsage = QStringLiteral("使い方: kashidashi [--help | --version]");
    const struct {
        const char* program;
        QStringList args;
        int status;
        QString out;  // a line the standard output holds ("" for none at all)
        QString err;  // a line the error output holds ("" for none at all)
    } kCases[] = {
        {KX_DESK_PROGRAM, {"--help"}, 0, deskUsage, ""},
        {KX_DESK_PROGRAM, {"--version"}, 0, "kashidashi ", ""},
        {KX_DESK_PROGRAM, {"--helpme"}, 2, "", deskUsage},
        {KX_DESK_PROGRAM, {"-h"}, 2, "", deskUsage},
        {KX_DESK_PROGRAM, {"--help", "--version"}, 2, "", deskUsage},
        {KX_DESK_PROGRAM, {"-platform", "offscreen"}, 2, "", deskUsage},
        {KX_DESK_PROGRAM, {"C:\\Book\\"}, 2, "", deskUsage},
        {KX_ADMIN_TOOL, {"--help"}, 0, "  kashidashi-admin init FOLDER", ""},
        {KX_ADMIN_TOOL, {"help"}, 0, "  kashidashi-admin init FOLDER", ""},
        {KX_ADMIN_TOOL, {"-h"}, 0, "  kashidashi-admin --help", ""},
        {KX_ADMIN_TOOL, {"--helpme"}, 2, "", "  kashidashi-admin init FOLDER"},
    };
    for (const auto& c : kCases) {
        QTemporaryDir folder;
        const QString what = QString::fromUtf8(c.program) + " " + c.args.join(' ');
        ProgramRun run = RunWithoutDisplay(c.program, c.args, folder.path());
        EXPECT_EQ(run.status, c.status) << what.toStdString() << "\n" << run.err.toStdString();
        if (c.out.isEmpty()) EXPECT_EQ(run.out, "") << what.toStdString();
        EXPECT_TRUE(run.out.contains(c.out)) << what.toStdString() << "\n" << run.out.toStdString();
        if (c.err.isEmpty()) EXPECT_EQ(run.err, "") << what.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << what.toStdString() << "\n" << run.err.toStdString();
        EXPECT_TRUE(
            QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            << what.toStdString() << " made files";
    }
}

#endif

}  // namespace
}  // namespace app_test
