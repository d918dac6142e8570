// Pictures of the desk's tabs for the project's documents.
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

TEST_F(DeskScreenshotTest, ALendingInProgressAndTheReservationList) {
    MakePlainBooks();
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000001' Where BOOK_ID<=2;"
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, "
           "yoyakuDTime, Memo) Values "
           "(1, 1, '100002', '10102', '吉田　陽葵', '978400000001', '2026/12/01 09:10:00', "
           "'金曜日に来ます'), "
           "(2, 1, '100003', '10103', '高橋　悠真', '978400000001', '2026/12/02 12:30:00', '')");
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10101");
        Scan(desk, "Edit4", "3");
        Scan(desk, "Edit4", "4");
        Save(desk, "desk-lending-in-progress.png");
        dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& list) {
            Save(list, "reservation-list.png");
            list.close();
        });
        Scan(desk, "Edit4", "1");
    });
}

TEST_F(DeskScreenshotTest, TheReservationTabs) {
    RunSql(dataFolder,
           "Update Book Set ISBN='978400000001' Where BOOK_ID<=2;"
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, "
           "yoyakuDTime, Memo) Values "
           "(1, 1, '100002', '10102', '吉田　陽葵', '978400000001', '2026/12/01 09:10:00', "
           "'金曜日に来ます'), "
           "(2, 1, '100003', '10103', '高橋　悠真', '978400000001', '2026/12/02 12:30:00', ''), "
           "(7, 1, '100001', '10101', '佐藤　蓮', NULL, '2026/12/03 08:05:00', '')");
    OpenDesk([&](TFgyoumu1& desk) {
        auto* tabs = desk.findChild<QTabWidget*>("PageControl1");
        tabs->setCurrentIndex(2);
        Scan(desk, "Edit11", "1");
        Save(desk, "desk-reservation.png");
        tabs->setCurrentIndex(3);
        Click(desk, "RadioGroup3_2");
        Save(desk, "desk-reservation-status.png");
    });
}

}  // namespace
}  // namespace desk_test
