// The one version of the program: printed by the built programs' --version
// without a display, and shown in the main window's title band.
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include "kashidashi/version.h"
#include "support/app_fixture.h"

namespace app_test {
using namespace kx_test;
namespace {

const QString kVersionText = QString::fromUtf8(kashidashi::kVersion);

struct Program {
    const char* path;
    const char* name;
};

const Program kPrograms[] = {
#ifdef KX_DESK_PROGRAM
    {KX_DESK_PROGRAM, "kashidashi"},
#endif
#ifdef KX_ADMIN_TOOL
    {KX_ADMIN_TOOL, "kashidashi-admin"},
#endif
};

// --version answers without a window system: with no display and a platform
// that needs one, any window (or the PIN prompt) would end the program with
// an error instead.
TEST(Version, ProgramsPrintItWithoutADisplay) {
    ASSERT_EQ(std::size(kPrograms), 2u) << "both programs are built with the tests";
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const auto& program : kPrograms) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(program.path), {QStringLiteral("--version")});
        ASSERT_TRUE(process.waitForFinished(30000)) << program.name;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program.name;
        EXPECT_EQ(process.exitCode(), 0) << program.name;
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
                  QString::fromUtf8(program.name) + " " + kVersionText + "\n");
        EXPECT_EQ(process.readAllStandardError().toStdString(), "") << program.name;
    }
}

TEST(Version, IsMajorMinorPatch) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"))
                    .match(kVersionText)
                    .hasMatch())
        << kashidashi::kVersion;
}

class MainWindowVersion : public AppFixture {};

// Shown from the first showing on, beside the caption the window keeps.
TEST_F(MainWindowVersion, ShownInTheTitleBand) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", [&](QDialog& w) {
        EXPECT_EQ(TextOf(Main(), "LabelVersion"), QStringLiteral("バージョン ") + kVersionText);
        Click(w, "BitBtn1");
    });
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("貸出・返却"));
    EXPECT_EQ(TextOf(Main(), "LabelVersion"), QStringLiteral("バージョン ") + kVersionText);
    EXPECT_EQ(TextOf(Main(), "L3"), QStringLiteral("更新日2020年07月29日"));
}

}  // namespace
}  // namespace app_test
