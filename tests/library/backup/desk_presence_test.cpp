// Open desk windows make themselves known on the school, from opening to
// closing, on a folder and on a server: a restore and the year's rollover
// are refused while any desk is open (command, library and window alike) and
// name the machines; a killed desk leaves nothing behind.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTableWidget>
#include <filesystem>

#include "data/pin_constants.h"
#include "engine/pg_test_server.h"
#include "library/backup/U_Backup.h"
#include "library/backup/backup.h"
#include "library/backup/desk_presence.h"
#include "library/backup/restore.h"
#include "library/year/rollover.h"
#include "support/app_fixture.h"

namespace library_test {
using namespace kx_test;
namespace {

namespace fs = std::filesystem;
using namespace kashidashi::library;
using kashidashi::Dialogs;

// A desk in a child process, announced on `place` and then killed: its
// pid, once the mark is taken.
pid_t DeskInAChild(const DataPlace& place) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
        DeskPresence presence(place);
        char byte = presence.Announced() ? 'y' : 'n';
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        for (;;) pause();
    }
    char byte = 0;
    if (read(ready[0], &byte, 1) != 1 || byte != 'y') {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        child = -1;
    }
    close(ready[0]);
    close(ready[1]);
    return child;
}

void Kill(pid_t child) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

std::vector<std::string> Machines(const DataPlace& place) {
    PlaceConnection connection(place);
    return OpenDeskMachines(*connection);
}

// Desks open, closed and killed on `place`; what a restore and a rollover
// say meanwhile.
void DesksComeAndGo(const DataPlace& place, const std::string& backup, const std::string& scratch) {
    const std::vector<std::string> none, one{MachineName()};
    EXPECT_EQ(Machines(place), none);
    // The killed desk first: a child would keep the marks of descriptors it inherits.
    pid_t killed = DeskInAChild(place);
    ASSERT_GT(killed, 0);
    EXPECT_EQ(Machines(place), one);
    {
        DeskPresence first(place), second(place);
        ASSERT_TRUE(first.Announced() && second.Announced());
        EXPECT_EQ(Machines(place).size(), 3u);
        try {
            Restore(backup, place, scratch + "/before-1.kxbak");
            ADD_FAILURE() << "restored beside open desks";
        } catch (const std::runtime_error& error) {
            std::string text = error.what();
            EXPECT_NE(text.find("貸出・返却の画面が開いています（" + MachineName() + "、" +
                                MachineName() + "、" + MachineName() + "）"),
                      std::string::npos)
                << text;
        }
        EXPECT_FALSE(fs::exists(scratch + "/before-1.kxbak"));  // nothing done
        try {
            ApplyRollover(place, std::vector<RolloverFile>{}, scratch + "/rollover.kxbak",
                          RolloverOptions{});
            ADD_FAILURE() << "rolled over beside open desks";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find("もう一度年度更新してください"),
                      std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(Machines(place), one);  // the two closed; the child is still open
    Kill(killed);
    EXPECT_EQ(Machines(place), none);  // killed: no trace
    EXPECT_NO_THROW(Restore(backup, place, scratch + "/before-2.kxbak"));
}

class DeskPresenceTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        data = (root / "school").string();
        MakeDemoFolder(data);
        backup = (root / "school.kxbak").string();
        MakeBackup(DataPlace::Folder(data), backup);
    }
    std::string data, backup;
};

TEST_F(DeskPresenceTest, OnAFolder) {
    DesksComeAndGo(DataPlace::Folder(data), backup, root.string());
}

TEST_F(DeskPresenceTest, OnAServer) {
    KX_NEED_SERVER();
    engine::testing::ScratchDatabase database;
    DesksComeAndGo(DataPlace::Server(database.address()), backup, root.string());
}

// The main window's desk is known while it is open, and the バックアップ
// window's restore then names the machine.
TEST_F(DeskPresenceTest, TheDeskWindowIsKnownAndTheRestoreWindowSaysWhere) {
    const std::string backups = (root / "backups").string();
    fs::create_directories(backups);
    std::string folder = DriveFolder("C:\\Book\\");
    MakeDemoFolder(folder);
    // The school's own backup: another school's would first ask about that,
    // and whether the desk's day backup has made the school's id by then
    // depends on timing.
    MakeBackup(DataPlace::Folder(folder), backups + "/kashidashi-20261201.kxbak");
    PrepareHead({{"meisyou", engine::Value("若葉小学校")}, {"PathName2", engine::Value(backups)}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    std::vector<std::string> whileOpen;
    dialogs->Drive("kashidashi::TFgyoumu1", [&](QDialog&) {
        whileOpen = Machines(DataPlace::Folder(folder));
        kashidashi::TBackup window(nullptr);
        auto* grid = window.findChild<QTableWidget*>("Grid1");
        grid->selectRow(0);
        Click(window, "Button4");
    });
    dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes)
        .Answer(Dialogs::Kind::Error, Dialogs::Ok);
    Click(Main(), "Button2");
    EXPECT_EQ(whileOpen, std::vector<std::string>{MachineName()});
    EXPECT_TRUE(Machines(DataPlace::Folder(folder)).empty());  // closed with the window
    auto texts = dialogs->Texts();
    ASSERT_EQ(texts.size(), 2u) << dialogs->Describe();
    EXPECT_TRUE(texts[1].contains(QString::fromStdString("（" + MachineName() + "）")))
        << texts[1].toStdString();
}

}  // namespace
}  // namespace library_test
