// The program update: the question, the download of the updater into the
// program file's folder, its start with the package address, and the
// failures. No test touches the network: the download is replaced.
#include <QPushButton>
#include <fstream>

#include "support/app_fixture.h"
#include "data/pin_constants.h"

namespace app_test {
using namespace kx_test;
namespace {

using kashidashi::Dialogs;
using kashidashi::TMain2;
using Kind = Dialogs::Kind;

const QString kUpdateQuestion = QStringLiteral("バージョンアップを実行しますか。");
const QString kUpdateFailed = QStringLiteral("バージョンアップが正常に出来ませんでした。");

class UpdateTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        binFolder = (root / "bin").string();
        std::filesystem::create_directories(binFolder);
        MakeDataFolder(DriveFolder("C:\\Book\\"));
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    // Replaces the outside world: downloads are recorded and succeed or not.
    void Hook(bool downloadWorks, bool startWorks) {
        TMain2::UpdateHooks hooks;
        hooks.download = [this, downloadWorks](const std::string& url, const std::string& file) {
            downloads.push_back({url, file});
            return downloadWorks;
        };
        hooks.start = [this, startWorks](const std::string& file, const std::string& arguments) {
            starts.push_back({file, arguments});
            return startWorks;
        };
        hooks.programFileFolder = [this] { return binFolder; };
        TMain2::SetUpdateHooks(hooks);
    }
    void PressUpdate() { Main().findChild<QPushButton*>("BtnUP")->click(); }

    std::string binFolder;
    std::vector<std::pair<std::string, std::string>> downloads, starts;
};

TEST_F(UpdateTest, AnsweredNoDownloadsNothing) {
    Hook(true, true);
    dialogs->Answer(Kind::Question, Dialogs::No);
    PressUpdate();
    EXPECT_TRUE(downloads.empty());
    EXPECT_TRUE(starts.empty());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(dialogs->Texts(), std::vector<QString>{kUpdateQuestion});
    EXPECT_EQ(dialogs->Records().back().look, Kind::Information);
    EXPECT_EQ(dialogs->Records().back().buttons, Dialogs::Yes | Dialogs::No);
}

TEST_F(UpdateTest, FailedDownloadIsToldAndTheProgramKeepsRunning) {
    Hook(false, true);
    dialogs->Answer(Kind::Question, Dialogs::Yes).Answer(Kind::Warning, Dialogs::Ok);
    PressUpdate();
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_TRUE(starts.empty());  // nothing that was not downloaded is run
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(dialogs->Texts(), (std::vector<QString>{kUpdateQuestion, kUpdateFailed}));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(UpdateTest, UpdaterThatDoesNotStartIsTold) {
    Hook(true, false);
    dialogs->Answer(Kind::Question, Dialogs::Yes).Answer(Kind::Warning, Dialogs::Ok);
    PressUpdate();
    EXPECT_EQ(starts.size(), 1u);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(dialogs->Texts().back(), kUpdateFailed);
}

TEST_F(UpdateTest, StartedUpdaterEndsTheProgram) {
    Hook(true, true);
    dialogs->Answer(Kind::Question, Dialogs::Yes);
    PressUpdate();
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0].first, "https://update.example.jp/kashidashi/dload.exe");
    EXPECT_EQ(downloads[0].second, binFolder + "/dload.exe");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].first, binFolder + "/dload.exe");
    EXPECT_EQ(starts[0].second, "\"https://update.example.jp/kashidashi/packages/PKV3R.exe\" \"\"");
    EXPECT_FALSE(Main().isVisible());
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(UpdateTest, DefaultDownloadTakesHttpsOnly) {
    const std::string source = (root / "fake-updater").string();
    std::ofstream(source) << "#!/bin/sh\n";
    const std::string target = binFolder + "/dload.exe";
    const auto hooks = TMain2::DefaultUpdateHooks();
    EXPECT_FALSE(hooks.download("file://" + source, target));
    EXPECT_FALSE(hooks.download("http://127.0.0.1:9/dload.exe", target));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(UpdateTest, DefaultProgramFileFolderIsTheRunningProgramsFolder) {
    const std::string folder = TMain2::DefaultUpdateHooks().programFileFolder();
    EXPECT_EQ(folder, std::filesystem::canonical("/proc/self/exe").parent_path().string());
}

}  // namespace
}  // namespace app_test
