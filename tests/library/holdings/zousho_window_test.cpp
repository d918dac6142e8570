// 蔵書・利用者の管理 as the librarian uses it, offscreen, on the demo school
// of a desk (desk/desk_fixture.h): opened from 図書館の管理, a pupil who
// joins is added and the desk serves them at the next scan, a title
// corrected in the window is what the desk picks, a pupil number in use is
// refused with its holder named, a user with books out is not deleted.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "desk/desk_fixture.h"
#include "grid/LibXGrid.h"
#include "library/holdings/U_Zousho.h"
#include "reports/preview_window.h"
#include "support/widget_keys.h"

namespace desk_test {
namespace {

using kashidashi::TZousho;

class ZoushoWindowTest : public DeskFixture {
  protected:
    // Opens the window from 図書館の管理 and runs `body` on it.
    void OpenZousho(const std::function<void(TZousho&)>& body) {
        dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button7"); })
            .Drive("kashidashi::TZousho", [&](QDialog& window) {
                body(static_cast<TZousho&>(window));
                Click(window, "BitBtn1");
            });
        Click(Main(), "Button3");
    }
    static QString Shown(TZousho& window, const char* name) {
        if (auto* label = window.findChild<QLabel*>(name)) return label->text();
        return window.findChild<QLineEdit*>(name)->text();
    }
};

TEST_F(ZoushoWindowTest, ANewPupilAndACorrectedTitleReachTheDesk) {
    if (Stopped()) return;
    MakePlainBooks();
    std::string added;
    OpenZousho([&](TZousho& window) {
        auto* tabs = window.findChild<QTabWidget*>("PageControl1");
        ASSERT_EQ(tabs->count(), 3);
        // 利用者: a pupil who joins in June.
        tabs->setCurrentIndex(1);
        Click(window, "Button23");
        added = window.UserBox("NAME_ID")->text().toStdString();
        EXPECT_EQ(added.size(), 6u);
        window.UserBox("seito_No")->setText(QStringLiteral("１０９９８"));
        window.UserBox("NAME")->setText(QStringLiteral("新井　陽"));
        window.findChild<QComboBox*>("ComboBox4")->setCurrentIndex(2);
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
        Click(window, "Button22");
        EXPECT_EQ(window.CurrentUser(), added) << dialogs->Describe();
        // Someone else with the same pupil number: refused, the holder named.
        Click(window, "Button23");
        window.UserBox("seito_No")->setText("10998");
        window.UserBox("NAME")->setText(QStringLiteral("別の人"));
        dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);
        Click(window, "Button22");

        // 図書: book 1 found by its number, its title corrected.
        tabs->setCurrentIndex(0);
        window.findChild<QLineEdit*>("Edit1")->setText("0000001");
        Click(window, "Button1");
        EXPECT_EQ(Shown(window, "Label1"), QStringLiteral("1〜1件目（全1件）"));
        EXPECT_EQ(window.findChild<kashidashi::TLibXGrid*>("DBGrid1")->model()->rowCount(), 1);
        EXPECT_EQ(window.CurrentBook(), 1);
        window.BookBox("syomei2")->setText(QStringLiteral("直した書名"));
        dialogs->Answer(Dialogs::Kind::Information, Dialogs::Ok);
        Click(window, "Button4");
        EXPECT_EQ(window.BookBox("syomei2")->text(), QStringLiteral("直した書名"));
    });
    const auto texts = dialogs->Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_TRUE(texts[1].contains(QStringLiteral("生徒番号 10998 は 新井　陽 さん")))
        << texts[1].toStdString();
    EXPECT_EQ(texts[2], QStringLiteral("保存しました（1か所）。"));

    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "10998");
        EXPECT_EQ(desk.Desk().state.CurrentUserId, added);
        Scan(desk, "Edit4", "1");
        ASSERT_EQ(desk.Desk().WKT01.RecordCount(), 1);
        desk.Desk().WKT01.First();
        EXPECT_EQ(desk.Desk().WKT01.FieldByName("syomei").AsString(), "直した書名");
    });
}

// A user with books out: 削除 is refused and names the books; the window
// shows them under the user.
TEST_F(ZoushoWindowTest, AUserWithBooksOutIsNotDeleted) {
    if (Stopped()) return;
    const std::string borrower = FixedNumber("10101");
    RunSql(dataFolder,
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
           " kashidashiF) Values (1, '" +
               borrower + "', '10101', '2026/06/01', '2026/06/15', '1')");
    OpenZousho([&](TZousho& window) {
        window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
        window.findChild<QLineEdit*>("Edit2")->setText(QString::fromStdString(borrower));
        Click(window, "Button21");
        EXPECT_EQ(window.CurrentUser(), borrower);
        EXPECT_GT(window.findChild<kashidashi::TLibXGrid*>("DBGrid3")->model()->rowCount(), 0);
        dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);  // no question first
        Click(window, "Button25");
        EXPECT_EQ(window.CurrentUser(), borrower);
    });
    const auto texts = dialogs->Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_TRUE(texts.back().contains(QStringLiteral("借りているので削除できません")))
        << texts.back().toStdString();
    EXPECT_EQ(RowCount("Select NAME_ID From Name Where NAME_ID='" + borrower + "'"), 1);
}

// A book once lent is never deleted: said at once, without a question first.
TEST_F(ZoushoWindowTest, ABookOnceLentIsNotDeletedAndSaysSoAtOnce) {
    if (Stopped()) return;
    RunSql(dataFolder,
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
           " kashidashiF) Values (1, '" +
               FixedNumber("10101") + "', '10101', '2026/06/01', '2026/06/15', '1')");
    OpenZousho([&](TZousho& window) {
        window.findChild<QLineEdit*>("Edit1")->setText("0000001");
        Click(window, "Button1");
        EXPECT_EQ(window.CurrentBook(), 1);
        dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);  // no question first
        Click(window, "Button9");
        EXPECT_EQ(window.CurrentBook(), 1);
    });
    const auto texts = dialogs->Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_TRUE(texts.back().contains(QStringLiteral("貸出の記録があるので削除できません")))
        << texts.back().toStdString();
    EXPECT_EQ(RowCount("Select BOOK_ID From Book Where BOOK_ID=1"), 1);
}

// The prints: the reading records of the users listed, a page each after a
// question; the list of the books found.
TEST_F(ZoushoWindowTest, ReadingRecordsAndTheBookListInThePreview) {
    if (Stopped()) return;
    const std::string borrower = FixedNumber("10101");
    RunSql(dataFolder,
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
           " henkyakubi) Values (2, '" +
               borrower +
               "', '10101', '2026/05/01', '2026/05/15',"
               " '2026/05/10')");
    std::vector<std::string> headings;
    size_t bookRows = 0;
    auto texts = [](const kashidashi::reports::PreparedReport& report, const std::string& object) {
        std::vector<std::string> found;
        for (const auto& page : report.pages)
            for (const auto& text : page.texts)
                if (text.object == object) found.push_back(text.Text());
        return found;
    };
    OpenZousho([&](TZousho& window) {
        window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
        window.findChild<QLineEdit*>("Edit2")->setText("10101");
        Click(window, "Button21");
        dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes)
            .Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
                headings = texts(static_cast<kashidashi::reports::TPreview&>(preview).Report(),
                                 "Memo_class");
            });
        Click(window, "Button28");
        window.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
        window.findChild<QLineEdit*>("Edit1")->setText("1");
        Click(window, "Button1");
        dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
            bookRows =
                texts(static_cast<kashidashi::reports::TPreview&>(preview).Report(), "Memo_count")
                    .size();
        });
        Click(window, "Button13");
    });
    ASSERT_EQ(headings.size(), 1u) << dialogs->Describe();
    EXPECT_NE(headings[0].find("10101"), std::string::npos) << headings[0];
    EXPECT_EQ(bookRows, 1u);
    EXPECT_NE(dialogs->Texts().front().indexOf(QStringLiteral("1 人の読書記録")), -1);
}

}  // namespace
}  // namespace desk_test
