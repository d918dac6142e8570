// Pictures of the desk's lending and return tabs for the project's documents.
// Runs only when KASHIDASHI_SCREENSHOTS names the folder to write to:
//   xvfb-run -a env QT_QPA_PLATFORM=xcb KASHIDASHI_SCREENSHOTS=docs desk_tests
//       --gtest_filter='DeskScreenshot*'
#include <QTabWidget>
#include <cstdlib>

#include "desk_fixture.h"

namespace desk_test {
namespace {

class DeskScreenshotTest : public DeskFixture {
  protected:
    void SetUp() override {
        const char* folder = std::getenv("KASHIDASHI_SCREENSHOTS");
        if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_SCREENSHOTS is not set";
        target = std::filesystem::absolute(folder).string();
        DeskFixture::SetUp();
    }
    void Save(QWidget& window, const char* name) {
        Settle();
        const QString file = QString::fromStdString(target + "/" + name);
        EXPECT_TRUE(window.grab().save(file, "PNG")) << file.toStdString();
    }
    std::string target;
};

TEST_F(DeskScreenshotTest, LendingAndReturnTabs) {
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Save(desk, "desk-lending.png");
        Scan(desk, "Edit4", "CANCEL");
        Scan(desk, "Edit3", "RETURN");
        Save(desk, "desk-return.png");
    });
}

}  // namespace
}  // namespace desk_test
