// 蔵書点検 opened from 図書館の管理, offscreen, on the small school: the start,
// the answers of scans typed by a reader (a book, a lent book returned after
// the question, an unknown number, an ISBN of two copies chosen from), the
// question of starting again, a reader's file, the finish writing off the
// marked book, and the list in the preview.
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <fstream>

#include "data/pin_constants.h"
#include "library/U_Tenken.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

using kashidashi::TTenken;
using kashidashi::library::ScanAnswer;

class InventoryWindowTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        RunSql(data,
               "Update Reg Set N2=0 Where ID=2;"
               "Insert Into HKN (HKN_ID, HKN) Values (1, '図書室');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, ISBN) Values (7, '本7', 1,"
               " '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID, ISBN) Values (8, '本8', 1,"
               " '978400000002');"
               "Insert Into Book (BOOK_ID, syomei2, HKN_ID) Values (9, '本9', 1)");
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
    void InWindow(std::function<void(TTenken&)> drive) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button5"); })
            .Drive("kashidashi::TTenken",
                   [drive](QDialog& window) { drive(static_cast<TTenken&>(window)); });
        Click(Main(), "Button3");
    }
    static void Scan(TTenken& window, const char* text) {
        SetText(window, "Edit1", QString::fromUtf8(text));
        PressEnter(window, "Edit1");
    }
    bool Flag(int64_t book, const char* column) {
        auto rows = kashidashi::library::SelectRows(
            Connection(), std::string("Select ") + column + " From Book Where BOOK_ID=:PM1",
            {{"pm1", engine::Value(book)}});
        const auto& flag = rows.rows.at(0).values[0];
        return flag.IsBool() && flag.Bool();
    }
};

TEST_F(InventoryWindowTest, ScansAnswerAtOnceAndTheFinishWritesOffTheMarkedBook) {
    std::vector<ScanAnswer> answers;
    QString unknown, progress;
    size_t missing = 0, pages = 0;
    InWindow([&](TTenken& window) {
        Click(window, "Button1");  // no check runs: no question
        Scan(window, "0000003");
        answers.push_back(window.LastScan().answer);
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes);  // return the lent book
        Scan(window, "1");
        answers.push_back(window.LastScan().answer);
        dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);
        Scan(window, "99999");
        answers.push_back(window.LastScan().answer);
        unknown = window.findChild<QListWidget*>("ListWidget1")->item(0)->text();
        dialogs->Drive("QInputDialog", [](QDialog& choice) {
            static_cast<QInputDialog&>(choice).setTextValue(QStringLiteral("0000008"));
            choice.accept();
        });
        Scan(window, "9784000000024");
        answers.push_back(window.LastScan().answer);
        progress = window.findChild<QTableWidget*>("TableWidget1")->item(0, 1)->text() + "/" +
                   window.findChild<QTableWidget*>("TableWidget1")->item(0, 2)->text();
        missing = window.Missing().size();
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            pages = static_cast<kashidashi::reports::TPreview&>(preview).Report().pages.size();
        });
        Click(window, "Button4");
        // Starting again asks first; No keeps the check.
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::No);
        Click(window, "Button1");
        Click(window, "Button6");  // the first book not found: 7
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes)
            .Answer(Dialogs::Kind::Information, Dialogs::Ok);
        Click(window, "Button3");
        Click(window, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    EXPECT_EQ(dialogs->Left(), 0) << dialogs->Describe();
    EXPECT_EQ(answers, (std::vector<ScanAnswer>{ScanAnswer::Checked, ScanAnswer::OnLoan,
                                                ScanAnswer::Unknown, ScanAnswer::Checked}));
    EXPECT_EQ(unknown, QStringLiteral("0099999"));
    // To check: 3, 7, 8, 9 and the returned 1; checked 3, 1 and 8.
    EXPECT_EQ(progress, QStringLiteral("3/5"));
    EXPECT_EQ(missing, 2u);
    EXPECT_EQ(pages, 1u);
    EXPECT_FALSE(Flag(1, "kashidashiF"));
    EXPECT_TRUE(Flag(8, "tenkenF"));
    EXPECT_TRUE(Flag(7, "haikiF"));
    EXPECT_FALSE(Flag(9, "haikiF"));
}

TEST_F(InventoryWindowTest, AReadersFileWithItsProgress) {
    const std::string file = data + "/reader.txt";
    std::ofstream(file) << "2026/03/02 10:00:00\t3\n3\n9\n";
    InWindow([&](TTenken& window) {
        Click(window, "Button1");
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
        window.ReadReaderFile(QString::fromStdString(file));
        Click(window, "BitBtn1");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
    ASSERT_FALSE(dialogs->Texts().empty());
    EXPECT_TRUE(dialogs->Texts().back().startsWith(QStringLiteral("点検 2 冊、点検済み 1 冊")))
        << dialogs->Describe();
    EXPECT_TRUE(Flag(9, "tenkenF"));
}

}  // namespace
}  // namespace library_test
