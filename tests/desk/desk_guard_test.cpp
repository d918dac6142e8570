// Two desks from one program folder, in two processes: while one holds the
// pick list, the other is refused with the guard's message and loses nothing.
// The holding desk is this test program run again with one test chosen; it
// holds WK01 of the folder named by KX_HOLD_FOLDER until told to stop.
#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "desk_fixture.h"
#include "engine/dataset/table.h"
#include "engine/session/session.h"

namespace desk_test {
namespace {

namespace fs = std::filesystem;

bool WaitFor(const fs::path& file, int seconds) {
    for (int i = 0; i < seconds * 20 && !fs::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return fs::exists(file);
}

// The other desk: runs only as the child of the test below.
TEST(DeskGuardChild, HoldsThePickList) {
    const char* folder = std::getenv("KX_HOLD_FOLDER");
    if (!folder) GTEST_SKIP() << "run by DeskGuardTest only";
    engine::TDBSession session("HoldingDesk");
    engine::TDBTable pickList;
    pickList.SetSessionName("HoldingDesk");
    pickList.SetDatabaseName(folder);
    pickList.SetTableName("WK01");
    pickList.SetExclusive(true);
    pickList.Open();
    std::ofstream(fs::path(folder) / "holding").put('1');
    EXPECT_TRUE(WaitFor(fs::path(folder) / "stop", 60));
    pickList.Close();
}

class DeskGuardTest : public DeskFixture {};

TEST_F(DeskGuardTest, ASecondDeskProcessIsRefused) {
    QProcess other;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KX_HOLD_FOLDER", QString::fromStdString(programFolder));
    other.setProcessEnvironment(environment);
    other.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DeskGuardChild.HoldsThePickList")});
    ASSERT_TRUE(WaitFor(fs::path(programFolder) / "holding", 30)) << "the other desk never started";
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        EXPECT_TRUE(Text(desk, "Edit6").isEmpty());
    });
    std::ofstream(fs::path(programFolder) / "stop").put('1');
    EXPECT_TRUE(other.waitForFinished(30000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardOutput().toStdString();
    const auto texts = dialogs->Texts();
    EXPECT_NE(
        std::find(texts.begin(), texts.end(),
                  QStringLiteral("現在、他の場所で貸出処理をしていますので、お待ちください。")),
        texts.end())
        << dialogs->Describe();
    // Once the other desk has gone, this folder serves a desk again.
    dialogs.reset();  // the old script lets go of the seam before the new one takes it
    dialogs = std::make_unique<ScriptedDialogs>();
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        EXPECT_FALSE(Text(desk, "Edit6").isEmpty());
    });
    EXPECT_TRUE(dialogs->Texts().empty()) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
