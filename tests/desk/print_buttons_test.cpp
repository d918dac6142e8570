// The print buttons on the real windows: the desk's control barcode sheet and
// the reservation list window's list and notice, each opened in the preview
// with the rows and the current row they print.
#include <QPushButton>
#include <QTabWidget>

#include "data/pin_constants.h"
#include "desk/U_Fgyoumu1_W2.h"
#include "desk/desk_windows.h"
#include "desk_fixture.h"
#include "grid/LibXGrid.h"
#include "reports/preview_window.h"
#include "widgets/radio_group.h"

namespace desk_test {
namespace {

using kashidashi::DeskWindows;
using kashidashi::reports::Page;
using kashidashi::reports::TPreview;

constexpr const char* kPreview = "kashidashi::reports::TPreview";

// Every text of the page whose object has the name.
std::vector<std::string> Texts(const Page& page, const std::string& object) {
    std::vector<std::string> out;
    for (const auto& text : page.texts)
        if (text.object == object) out.push_back(text.Text());
    return out;
}

class PrintButtons : public DeskFixture {};

TEST_F(PrintButtons, TheBarcodeButtonPreviewsOnePageOfTheFourControlCodes) {
    OpenDesk([&](TFgyoumu1& desk) {
        auto* button = desk.findChild<QPushButton*>("Button6");
        ASSERT_TRUE(button->isEnabled());
        std::vector<std::string> codes;
        dialogs->Drive(kPreview, [&](QDialog& w) {
            auto& preview = static_cast<TPreview&>(w);
            EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
            ASSERT_EQ(preview.Report().pages.size(), 1u);
            for (const char* name : {"LendingCode", "ReturnCode", "ActionCode", "CancelCode"})
                for (const auto& text : Texts(preview.Report().pages[0], name))
                    codes.push_back(text);
        });
        button->click();
        EXPECT_EQ(codes, (std::vector<std::string>{"LENDING", "RETURN", "ACTION", "CANCEL"}));
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(PrintButtons, TheReservationStatusButtonPreviewsTheRowsTheTabLists) {
    RunSql(dataFolder,
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakuDTime) Values"
           " (1, 1, '100002', '10102', '吉田　陽葵', '2026/12/01 09:10:00'),"
           " (2, 1, '100003', '10103', '高橋　悠真', '2026/12/02 12:30:00'),"
           " (7, 1, '100001', '10101', '佐藤　蓮', '2026/12/03 08:05:00')");
    OpenDesk([&](TFgyoumu1& desk) {
        desk.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        Click(desk, "RadioGroup3_2");
        ASSERT_EQ(desk.Desk().yoyakuQry.RecordCount(), 3);
        auto* button = desk.findChild<QPushButton*>("Button11");
        ASSERT_TRUE(button->isEnabled());
        int rows = 0;
        dialogs->Drive(kPreview, [&](QDialog& w) {
            const Page& page = static_cast<TPreview&>(w).Report().pages.at(0);
            EXPECT_EQ(Texts(page, "Title"), std::vector<std::string>{"予　約　一　覧　表"});
            for (const auto& text : page.texts)
                for (const char* name : {"吉田　陽葵", "高橋　悠真", "佐藤　蓮"})
                    rows += text.Text().find(name) != std::string::npos;
        });
        button->click();
        EXPECT_EQ(rows, 3);
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

constexpr const char* kUsers =
    "INSERT INTO Name (NAME_ID, seito_No, NAME) VALUES"
    " ('000101', '20101', '山田太郎'), ('000102', '20102', '佐藤花子')";
constexpr const char* kBooks =
    "INSERT INTO Book (BOOK_ID, syomei2, ISBN) VALUES"
    " (9000021, 'ぐりとぐら', '978400000001'), (9000022, 'ぐりとぐら', '978400000001')";
constexpr const char* kReservations =
    "INSERT INTO yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID, yoyakuDTime)"
    " VALUES"
    " (9000021, 1, '000101', '10101', '山田太郎', '978400000001', '2024-04-03 09:00:00'),"
    " (9000022, 1, '000102', '10102', '佐藤花子', '978400000001', '2024-04-01 10:00:00')";

// A started program whose data folder holds two reservations of one title.
class ReservationPrints : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        std::string dataFolder = DriveFolder("C:\\Book\\");
        MakeDataFolder(dataFolder);
        for (const char* sql : {kUsers, kBooks, kReservations}) RunSql(dataFolder, sql);
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
        ASSERT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    }
    // The return form of book 9000021 with `body` run on the window.
    void ShowList(std::function<void(QDialog&)> body) {
        dialogs->Drive("kashidashi::TFgyoumu1_W2", std::move(body));
        DeskWindows::Fgyoumu1_W2().ShowReturnForm(9000021, "978400000001");
    }
};

TEST_F(ReservationPrints, TheNoticePrintsTheCurrentRowAndItsTitleOnTheCopyOnly) {
    ShowList([&](QDialog& w) {
        auto& grid = *w.findChild<kashidashi::TLibXGrid*>("LibXGrid1");
        grid.setCurrentIndex(grid.model()->index(1, 3));
        w.findChild<kashidashi::TRadioGroup*>("RadioGroup1")->SetItemIndex(1);  // しない
        dialogs->Drive(kPreview, [&](QDialog& p) {
            const Page& page = static_cast<TPreview&>(p).Report().pages.at(0);
            EXPECT_EQ(Texts(page, "Notice_name"), std::vector<std::string>{"山田太郎"});
            EXPECT_TRUE(Texts(page, "memo_syomei").empty());
            EXPECT_EQ(Texts(page, "copy_syomei"), std::vector<std::string>{"ぐりとぐら"});
            EXPECT_EQ(Texts(page, "Notice_date"), std::vector<std::string>{"2024/04/03 09:00:00"});
        });
        w.findChild<QPushButton*>("Button3")->click();
        w.findChild<kashidashi::TRadioGroup*>("RadioGroup1")->SetItemIndex(0);  // する
        dialogs->Drive(kPreview, [&](QDialog& p) {
            const Page& page = static_cast<TPreview&>(p).Report().pages.at(0);
            EXPECT_EQ(Texts(page, "memo_syomei"), std::vector<std::string>{"ぐりとぐら"});
        });
        w.findChild<QPushButton*>("Button3")->click();
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
}

TEST_F(ReservationPrints, TheListPrintsEveryReservationAndReturnsToTheFirstRow) {
    ShowList([&](QDialog& w) {
        auto& window = static_cast<kashidashi::TFgyoumu1_W2&>(w);
        window.YoyakuFindQry.Last();
        dialogs->Drive(kPreview, [&](QDialog& p) {
            const Page& page = static_cast<TPreview&>(p).Report().pages.at(0);
            int rows = 0;
            for (const auto& text : page.texts)
                rows += text.Text() == "佐藤花子" || text.Text() == "山田太郎";
            EXPECT_EQ(rows, 2);
            EXPECT_EQ(Texts(page, "Title"), std::vector<std::string>{"図書の予約リスト"});
            EXPECT_EQ(Texts(page, "BookTitle"), std::vector<std::string>{"ぐりとぐら"});
        });
        w.findChild<QPushButton*>("Button2")->click();
        EXPECT_EQ(window.YoyakuFindQry.FieldByName("Name").AsString(), "佐藤花子");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
