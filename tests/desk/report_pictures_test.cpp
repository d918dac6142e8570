// The five printed reports of the desk as PDF files, for the pictures of the
// project's documents (scripts/report-pictures turns each first page into a
// PNG). Runs only when KASHIDASHI_REPORT_PICTURES names the folder to write to:
//   KASHIDASHI_REPORT_PICTURES=docs desk_tests --gtest_filter='ReportPictures*'
// Each report is opened by its own button on the demo school, with a few
// loans and reservations added, and its prepared pages written as PDF.
#include <QDate>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstdlib>

#include "desk/U_Fgyoumu1_W2.h"
#include "desk/desk_windows.h"
#include "desk_fixture.h"
#include "reports/preview_window.h"
#include "reports/report_output.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using kashidashi::DeskWindows;
using kashidashi::reports::TPreview;

constexpr const char* kPreview = "kashidashi::reports::TPreview";

// Three pupils queued for 図書館のひみつ (books 1 to 3), two other titles.
constexpr const char* kReservations =
    "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, yoyakubi, "
    "yoyakuDTime, Memo) Values "
    "(1, 1, '100002', '10102', '吉田　陽葵', '978489401000', '2026/12/01', '2026/12/01 09:10:00', "
    "'金曜日に来ます'), "
    "(2, 1, '100003', '10103', '高橋　悠真', '978489401000', '2026/12/02', '2026/12/02 12:30:00', "
    "'続きの巻も読みたい'), "
    "(3, 1, '100004', '10104', '佐々木　結衣', '978489401000', '2026/12/03', "
    "'2026/12/03 08:05:00', ''), "
    "(7, 1, '100001', '10101', '加藤　翔太', '978487601004', '2026/12/04', '2026/12/04 10:20:00', "
    "'昼休みに取りに来ます'), "
    "(101, 1, '100005', '10105', '阿部　陽翔', NULL, '2026/12/07', '2026/12/07 13:40:00', '')";

// Loans of the first week of December: some back, some still out.
constexpr const char* kLoans =
    "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashiF, kashidashibi, "
    "henkyakuyotei, henkyakubi) Values "
    "(4, '100001', '10101', NULL, '2026/12/01', '2026/12/15', '2026/12/04'), "
    "(20, '100001', '10101', '1', '2026/12/01', '2026/12/15', NULL), "
    "(101, '100002', '10102', NULL, '2026/12/02', '2026/12/16', '2026/12/07'), "
    "(19, '100003', '10103', '1', '2026/12/03', '2026/12/17', NULL), "
    "(102, '100004', '10104', '1', '2026/12/04', '2026/12/18', NULL), "
    "(8, '100005', '10105', NULL, '2026/12/07', '2026/12/21', '2026/12/08')";

class ReportPictures : public DeskFixture {
  protected:
    void SetUp() override {
        const char* folder = std::getenv("KASHIDASHI_REPORT_PICTURES");
        if (!folder || !*folder) GTEST_SKIP() << "KASHIDASHI_REPORT_PICTURES is not set";
        target = std::filesystem::absolute(folder).string();
        DeskFixture::SetUp();
        RunSql(dataFolder, kReservations);
        RunSql(dataFolder, kLoans);
    }
    // The next preview written to <target>/<name>.pdf.
    void SaveNextPreview(const char* name) {
        dialogs->Drive(kPreview, [this, name](QDialog& w) {
            const auto& report = static_cast<TPreview&>(w).Report();
            const QString file = QString::fromStdString(target + "/" + name + ".pdf");
            EXPECT_TRUE(kashidashi::reports::WritePdf(report, file, QString::fromUtf8(name)))
                << file.toStdString();
        });
    }
    std::string target;
};

TEST_F(ReportPictures, TheDesksReports) {
    OpenDesk([&](TFgyoumu1& desk) {
        SaveNextPreview("report-control-barcodes");
        Click(desk, "Button6");
        auto* tabs = desk.findChild<QTabWidget*>("PageControl1");
        tabs->setCurrentIndex(3);
        Click(desk, "RadioGroup3_2");
        SaveNextPreview("report-reservation-list");
        Click(desk, "Button11");
        dialogs->Drive("kashidashi::TSetRenge1", [&](QDialog& w) {
            SaveNextPreview("report-period-list");
            w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 12, 1));
            w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 12, 7));
            Click(w, "Button1");
        });
        Click(desk, "Button3");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
}

TEST_F(ReportPictures, TheReservationListWindowsReports) {
    dialogs->Drive("kashidashi::TFgyoumu1_W2", [&](QDialog& w) {
        w.findChild<kashidashi::TRadioGroup*>("RadioGroup1")->SetItemIndex(0);  // する
        SaveNextPreview("report-reservation-notice");
        w.findChild<QPushButton*>("Button3")->click();
        SaveNextPreview("report-book-reservations");
        w.findChild<QPushButton*>("Button2")->click();
    });
    DeskWindows::Fgyoumu1_W2().ShowReturnForm(1, "978489401000");
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
