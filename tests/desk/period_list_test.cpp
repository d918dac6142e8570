// The loan and return lists of a period and the on-loan check, on the demo
// school: the period's boundaries, the previewed list's title, period and count,
// the user number of the lists by mode, and the three answers of the check.
#include <QDate>
#include <QDateEdit>
#include <cmath>
#include <map>

#include "desk_fixture.h"
#include "engine/common/dates.h"
#include "reports/preview_window.h"

namespace desk_test {
namespace {

using Kind = Dialogs::Kind;
using kashidashi::reports::TPreview;

class PeriodListTest : public DeskFixture {
  protected:
    // A loan record: book, pupil, loan day, return day (empty: still out).
    void Loan(int book, const char* pupil, const char* lent, const char* back) {
        const bool out = !*back;
        RunSql(dataFolder,
               "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashiF, kashidashibi, "
               "henkyakuyotei, henkyakubi) Values (" +
                   std::to_string(book) + ", '" + FixedNumber(pupil) + "', '" + pupil + "', " +
                   (out ? "'1'" : "NULL") + ", '" + lent + "', '2026/12/31', " +
                   (out ? "NULL" : "'" + std::string(back) + "'") + ")");
    }
    // The title, the period and the count of the previewed list, one a line.
    void ReadPreview() {
        dialogs->Drive("kashidashi::reports::TPreview", [this](QDialog& w) {
            const auto& pages = static_cast<TPreview&>(w).Report().pages;
            std::string title, range, count;
            for (const auto& text : pages.front().texts) {
                if (text.object == "Memo_title") title = text.Text();
                if (text.object == "Memo_hani") range = text.Text();
            }
            for (const auto& text : pages.back().texts)
                if (text.object == "Count")
                    count = text.Text().substr(std::string("件数　　").size());
            previewed.push_back(
                QString::fromStdString(title + "\r\n" + range + "\r\n" + count + "件"));
        });
    }
    // Presses the list's button and chooses the period (nothing: cancels).
    void List(TFgyoumu1& desk, const char* button, const char* start, const char* end) {
        dialogs->Drive("kashidashi::TSetRenge1", [=, this](QDialog& w) {
            if (!start) return Click(w, "BitBtn2");
            ReadPreview();
            w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate::fromString(start, "yyyy/MM/dd"));
            w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate::fromString(end, "yyyy/MM/dd"));
            Click(w, "Button1");
        });
        if (std::string(button) == "Button4") desk.findChild<QWidget*>("Button4")->setVisible(true);
        Click(desk, button);
    }
    std::vector<QString> previewed;
};

TEST_F(PeriodListTest, ThePeriodIncludesBothDaysAndEachListItsOwnDate) {
    Loan(1, "10101", "2026/05/01", "2026/05/20");  // lent on the first day, back after the end
    Loan(2, "10102", "2026/05/10", "2026/05/15");
    Loan(3, "10103", "2026/05/15", "");
    Loan(4, "10104", "2026/04/30", "2026/05/01");
    const struct {
        const char* button;
        const char* start;
        const char* end;
        const char* text;  // nothing: no list
    } cases[] = {
        {"Button3", "2026/05/01", "2026/05/15",
         "貸出図書一覧表 \r\n貸出期日 2026/05/01 ～ 2026/05/15\r\n3件"},
        {"Button4", "2026/05/01", "2026/05/15",
         "返却図書一覧表 \r\n返却期日 2026/05/01 ～ 2026/05/15\r\n2件"},
        {"Button3", "2026/05/15", "2026/05/15",
         "貸出図書一覧表 \r\n貸出期日 2026/05/15 ～ 2026/05/15\r\n1件"},
        {"Button4", "2026/05/20", "2026/05/20",
         "返却図書一覧表 \r\n返却期日 2026/05/20 ～ 2026/05/20\r\n1件"},
        {"Button3", "2026/05/15", "2026/05/01",
         "貸出図書一覧表 \r\n貸出期日 2026/05/15 ～ 2026/05/01\r\n0件"},
        {"Button3", nullptr, nullptr, nullptr},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        EXPECT_TRUE(desk.findChild<QWidget*>("Button3")->isEnabled());
        EXPECT_TRUE(desk.findChild<QWidget*>("Button4")->isEnabled());
        for (const auto& c : cases) {
            previewed.clear();
            List(desk, c.button, c.start, c.end);
            EXPECT_EQ(previewed, c.text ? std::vector<QString>{QString::fromUtf8(c.text)}
                                        : std::vector<QString>{})
                << c.button << " " << (c.start ? c.start : "cancelled");
            EXPECT_FALSE(desk.Desk().kashidashiQry.Active());
        }
        EXPECT_EQ(desk.Desk().state.memo_title, "貸出図書一覧表 ");
    });
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

TEST_F(PeriodListTest, TheUserNumberOfTheListsNeverFailsOnOddRows) {
    Loan(1, "10101", "2026/05/01", "");
    RunSql(dataFolder,
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashiF, kashidashibi) Values "
           "(2, '100999', '1A203', '1', '2026/05/02'), (3, '100998', '１０', '1', '2026/05/03')");
    const struct {
        int mode;
        std::vector<std::string> numbers;  // in the list's order: by the stored pupil number
    } cases[] = {
        {4, {"10101", "", ""}},
        {5, {FixedNumber("10101"), "100999", "100998"}},  // a removed user still shows
        {0, {"", "", ""}},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        auto& list = desk.Desk().kashidashiQry;
        for (const auto& c : cases) {
            Settings().UserNumberMode = c.mode;
            desk.Desk().SetPeriodListStatement(false);
            list.ParamByName("PM1").SetAsDate(engine::MakeDate(2026, 5, 1));
            list.ParamByName("PM2").SetAsDate(engine::MakeDate(2026, 5, 31));
            list.Open();
            std::vector<std::string> numbers;
            for (list.First(); !list.Eof(); list.Next())
                numbers.push_back(list.FieldByName("利用者番号").DisplayText());
            list.Close();
            EXPECT_EQ(numbers, c.numbers) << c.mode;
        }
    });
}

TEST_F(PeriodListTest, TheOnLoanCheckAnswersInOneMessage) {
    RunSql(dataFolder, "Update Book Set kashidashiF=False Where BOOK_ID<=20");
    Loan(1, "10101", "2026/05/01", "");
    Loan(2, "10102", "2026/05/01", "2026/05/02");  // back on the shelf
    const std::string title1 = DataValue("Select syomei2 From Book Where BOOK_ID=1").Text();
    const std::string title2 = DataValue("Select syomei2 From Book Where BOOK_ID=2").Text();
    const std::string name = DataValue("Select NAME From Name Where seito_No='10101'").Text();
    const QString lent = QString::fromStdString("この本の書名は  " + title1 + "  で、 10101" +
                                                name + " さんに貸出中です。");
    const QString shelf =
        QString::fromStdString("この本の書名は  " + title2 + "  で貸出中ではありません。");
    const QString unknown = QStringLiteral("この本は登録されていません。");
    const struct {
        QString entry;
        QString answer;
    } cases[] = {
        {"0000001", lent},  {"1", lent},   {"No.1", lent},   {"2", shelf},
        {"99999", unknown}, {"", unknown}, {"abc", unknown}, {QString(200, '9'), unknown},
    };
    OpenDesk([&](TFgyoumu1& desk) {
        Scan(desk, "Edit3", "RETURN");
        for (const auto& c : cases) {
            const size_t before = dialogs->Texts().size();
            Scan(desk, "Edit20", c.entry);
            EXPECT_EQ(dialogs->Texts().size(), before + 1) << c.entry.left(20).toStdString();
            if (dialogs->Texts().size() > before) {
                EXPECT_EQ(dialogs->Texts().back(), c.answer) << c.entry.left(20).toStdString();
            }
            EXPECT_TRUE(Text(desk, "Edit20").isEmpty());
        }
    });
    for (const auto& record : dialogs->Records())
        if (record.kind != Kind::Modal) {
            EXPECT_EQ(record.kind, Kind::Information);
        }
}

// The rows of the list as printed on its pages: the seven cells of each
// (user, book number, title, NDC, loan day, due day, return day), found by
// their left edge below the page header.
std::vector<std::vector<std::string>> PrintedRows(
    const kashidashi::reports::PreparedReport& report) {
    const double columns[] = {0, 35, 50, 110, 120, 140, 160};
    std::vector<std::vector<std::string>> rows;
    for (const auto& page : report.pages) {
        std::map<double, std::vector<std::string>> byTop;
        for (const auto& text : page.texts)
            for (int i = 0; i < 7; ++i)
                if (text.object.empty() && std::abs(text.clip.x - 15 - columns[i]) < 0.01) {
                    auto& row = byTop.try_emplace(text.clip.y, 7).first->second;
                    row[i] = text.Text();
                }
        for (auto& [top, row] : byTop)
            if (row[3] != "NDC") rows.push_back(row);  // not the page header
    }
    return rows;
}

TEST_F(PeriodListTest, TheLoanListPrintsTheRowsOfBothBoundaryDays) {
    Loan(19, "10101", "2026/05/01", "2026/05/20");  // the first day, NDC 160
    Loan(8, "10102", "2026/05/15", "");             // the last day, still out, NDC 0
    Loan(4, "10103", "2026/04/30", "2026/05/02");   // the day before
    Loan(5, "10104", "2026/05/16", "");             // the day after
    auto name = [&](const char* pupil) {
        return std::string(pupil) + "  " +
               DataValue(std::string("Select NAME From Name Where seito_No='") + pupil + "'")
                   .Text();
    };
    const std::vector<std::vector<std::string>> expected = {
        {name("10101"), "0000019", "こころってなんだろう", "160", "2026/05/01", "2026/12/31",
         "2026/05/20"},
        {name("10102"), "0000008", "はじめての新聞", "", "2026/05/15", "2026/12/31", ""},
    };
    std::vector<std::vector<std::string>> printed;
    OpenDesk([&](TFgyoumu1& desk) {
        dialogs->Drive("kashidashi::TSetRenge1", [&](QDialog& w) {
            dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& p) {
                printed = PrintedRows(static_cast<TPreview&>(p).Report());
            });
            w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 5, 1));
            w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 5, 15));
            Click(w, "Button1");
        });
        Click(desk, "Button3");
    });
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

}  // namespace
}  // namespace desk_test
