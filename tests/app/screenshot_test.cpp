// Pictures of the main window and the settings window for the project's
// documents. Runs only when KASHIDASHI_SCREENSHOTS names the folder to write
// to, normally under a real display:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs app_tests
//       --gtest_filter='Screenshot*'
#include <QPixmap>
#include <QPushButton>
#include <cstdlib>

#include "support/app_fixture.h"
#include "data/pin_constants.h"

namespace app_test {
using namespace kx_test;
namespace {

class ScreenshotTest : public AppFixture {
  protected:
    void SetUp() override {
        const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
        if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
        // Relative to where the program was started, not to the test's folder.
        target = std::filesystem::absolute(folder).string();
        AppFixture::SetUp();
    }
    void Save(QWidget& window, const char* name) {
        const QString file = QString::fromStdString(target + "/" + name);
        EXPECT_TRUE(window.grab().save(file, "PNG")) << file.toStdString();
    }
    std::string target;
};

TEST_F(ScreenshotTest, MainAndSettingsWindows) {
    MakeDataFolder(DriveFolder("C:\\Book\\"));
    PrepareHead({{"meisyou", engine::Value("若葉町立若葉小学校")}});
    dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
    Start();
    Settle();
    Save(Main(), "main-window.png");
    dialogs->Drive("kashidashi::THead1", [this](QDialog& w) {
        Settle();
        Save(w, "settings-window.png");
        w.close();
    });
    Main().findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

}  // namespace
}  // namespace app_test
