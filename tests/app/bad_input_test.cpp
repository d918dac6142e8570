// Start-up on a program folder it cannot use: a clear message, nothing
// stored changed, no way into the settings or the desk without the PIN.
#include <unistd.h>

#include <QPushButton>
#include <fstream>
#include <sstream>

#include "support/app_fixture.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using Kind = Dialogs::Kind;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class BadInputTest : public AppFixture {
  protected:
    bool DeskButtonsEnabled() {
        return Main().findChild<QPushButton*>("Button1")->isEnabled() ||
               Main().findChild<QPushButton*>("Button2")->isEnabled();
    }
};

TEST_F(BadInputTest, MissingProgramFolder) {
    std::filesystem::remove(programFolder);  // the working folder goes away
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(dialogs->Texts()[0].startsWith("プログラムのフォルダ"));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(DeskButtonsEnabled());
    EXPECT_FALSE(std::filesystem::exists(programFolder));
}

TEST_F(BadInputTest, UnreadableSettingsDatabase) {
    const std::string file = programFolder + "/kashidashi.db";
    const std::string garbage(4096, '\x5a');
    std::ofstream(file, std::ios::binary) << garbage;
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_FALSE(dialogs->Texts()[0].isEmpty());
    EXPECT_EQ(ReadAll(file), garbage);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(DeskButtonsEnabled());
}

TEST_F(BadInputTest, ReadOnlyProgramFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
    std::filesystem::permissions(
        programFolder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(programFolder));
    EXPECT_FALSE(DeskButtonsEnabled());
}

TEST_F(BadInputTest, ProgramFolderThatCannotHoldTheSettingsDatabase) {
    // A folder where the database file should be: as unwritable as it gets for
    // any user, the superuser included.
    std::filesystem::create_directories(programFolder + "/kashidashi.db");
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(DeskButtonsEnabled());
    EXPECT_TRUE(std::filesystem::is_empty(programFolder + "/kashidashi.db"));
}

TEST_F(BadInputTest, HeadRowWithoutThePin) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    RunSql(programFolder, "CREATE TABLE Head (meisyou CHARACTER(100), PathName1 CHARACTER(100))");
    RunSql(programFolder, "INSERT INTO Head (meisyou) VALUES ('若葉小学校')");
    dialogs->Answer(Kind::Error, Dialogs::Ok);
    Start();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_EQ(dialogs->Texts().size(), 1u);
    EXPECT_TRUE(dialogs->Texts()[0].contains("PM5")) << dialogs->Texts()[0].toStdString();
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(DeskButtonsEnabled());
    EXPECT_TRUE(TextOf(Main(), "Edit1").isEmpty());
    EXPECT_EQ(HeadRow().at("meisyou"), engine::Value("若葉小学校"));
}

}  // namespace
}  // namespace app_test
