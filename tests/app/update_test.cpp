// The program update: an installed copy only says where updates come from;
// a built copy asks, downloads the updater into the program file's folder,
// starts it with the package address, and says why when it fails. No test
// touches the network: the download is replaced.
#include <QPushButton>
#include <fstream>
#include <functional>

#include "data/pin_constants.h"
#include "support/app_fixture.h"

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
        TMain2::SetUpdateHooks(MakeHooks(downloadWorks, startWorks));
    }
    TMain2::UpdateHooks MakeHooks(bool downloadWorks, bool startWorks) {
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
        hooks.updaterAddress = "https://update.example.jp/kashidashi/dload.exe";
        hooks.packageBase = "https://update.example.jp/kashidashi/packages";
        return hooks;
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

// In the package manager's folders the button says where updates come from,
// and asks, downloads and starts nothing.
TEST_F(UpdateTest, AnInstalledCopySaysUpdatesComeWithTheSystemsPackages) {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        auto hooks = MakeHooks(true, true);
        hooks.programFileFolder = [folder] { return std::string(folder); };
        TMain2::SetUpdateHooks(hooks);
        const size_t before = dialogs->Texts().size();
        dialogs->Answer(Kind::Information, Dialogs::Ok);
        PressUpdate();
        ASSERT_EQ(dialogs->Texts().size(), before + 1) << folder;
        EXPECT_EQ(dialogs->Records().back().kind, Kind::Information) << folder;
        EXPECT_TRUE(dialogs->Texts().back().contains(QStringLiteral("パッケージの更新"))) << folder;
        EXPECT_TRUE(downloads.empty()) << folder;
        EXPECT_TRUE(Main().isVisible());
    }
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

// Each failure of a built copy: the update failed, and why; nothing that was
// not downloaded is run, and the program keeps running.
TEST_F(UpdateTest, AFailureSaysWhy) {
    const struct {
        const char* what;
        bool downloadWorks, startWorks;
        std::function<void(TMain2::UpdateHooks&)> change;
        QString why;
        size_t downloads, starts;
    } kCases[] = {
        {"no address", true, true, [](auto& h) { h.updaterAddress = ""; },
         "更新プログラムの配布先（アドレス）が設定されていません。", 0, 0},
        {"no write access", true, true,
         [this](auto& h) {
             std::ofstream(root / "not-a-folder") << "x";
             h.programFileFolder = [this] { return (root / "not-a-folder").string(); };
         },
         "に書き込めません（書き込みの許可がありません）。", 0, 0},
        {"download failed", false, true, [](auto&) {},
         "更新プログラムをダウンロードできませんでした", 1, 0},
        {"updater did not start", true, false, [](auto&) {}, "を起動できませんでした。", 1, 1},
    };
    for (const auto& c : kCases) {
        auto hooks = MakeHooks(c.downloadWorks, c.startWorks);
        c.change(hooks);
        TMain2::SetUpdateHooks(hooks);
        downloads.clear();
        starts.clear();
        const size_t before = dialogs->Texts().size();
        dialogs->Answer(Kind::Question, Dialogs::Yes).Answer(Kind::Warning, Dialogs::Ok);
        PressUpdate();
        ASSERT_EQ(dialogs->Texts().size(), before + 2) << c.what;
        const QString said = dialogs->Texts().back();
        const QStringList lines = said.split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.front(), kUpdateFailed) << c.what;
        EXPECT_TRUE(lines.size() == 2 && lines[1].contains(c.why))
            << c.what << ": " << said.toStdString();
        EXPECT_EQ(downloads.size(), c.downloads) << c.what;
        EXPECT_EQ(starts.size(), c.starts) << c.what;
        EXPECT_TRUE(Main().isVisible()) << c.what;
    }
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
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
