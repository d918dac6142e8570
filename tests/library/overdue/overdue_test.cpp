// The overdue list: loans overdue as of the day (lent by it, due before it,
// not returned by it), in class, pupil number
// and due-date order, a borrower missing from Name last, filtered by class
// or staff; and its prints (a class a page, three slips a page with cut
// lines).
#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "library/overdue/overdue.h"
#include "library/overdue/overdue_prints.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::library;

class OverdueTest : public YearFixture {
  protected:
    // Each loan as "class pupil book days".
    std::vector<std::string> Listed(const char* day, OverdueFilter filter = {}) {
        std::vector<std::string> listed;
        for (const auto& loan : OverdueLoans(Connection(), *engine::ParseDate(day), filter))
            listed.push_back(loan.className + " " + loan.pupilNo + " " + std::to_string(loan.book) +
                             " " + std::to_string(loan.daysOverdue));
        return listed;
    }
};

TEST_F(OverdueTest, OpenLoansDueBeforeTheDayInClassPupilAndDueOrder) {
    EXPECT_EQ(Listed("2025/06/11"),
              (std::vector<std::string>{"1年1組 10101 2 2", "1年1組 10102 1 1", "職員 90001 5 10",
                                        " 10999 6 6"}));
    // Due on the day itself is not overdue yet; the day after it is.
    EXPECT_EQ(Listed("2025/06/11", OverdueFilter::OfClass(102)), std::vector<std::string>{});
    EXPECT_EQ(Listed("2025/06/12", OverdueFilter::OfClass(102)),
              std::vector<std::string>{"1年2組 10201 4 1"});
    EXPECT_EQ(Listed("2025/06/11", OverdueFilter::OfStaff()),
              std::vector<std::string>{"職員 90001 5 10"});
    EXPECT_EQ(Listed("2025/06/01"), std::vector<std::string>{});
}

// As of a past day: a loan returned since counts, one returned on the day
// or before does not, one lent after the day does not.
TEST_F(OverdueTest, APastDayListsTheLoansOverdueThen) {
    kashidashi::library::ExecuteRows(
        Connection(),
        "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
        " kashidashiF, henkyakubi) Values"
        " (7, '100004', '10202', '2025/05/01', '2025/05/15', NULL, '2025/05/25'),"
        " (8, '100004', '10202', '2025/05/01', '2025/05/16', NULL, '2025/05/20'),"
        " (9, '100004', '10202', '2025/05/22', '2025/05/10', '1', NULL)");
    const struct {
        const char* day;
        std::vector<std::string> listed;
    } cases[] = {
        {"2025/05/19", {"1年2組 10202 7 4", "1年2組 10202 8 3"}},
        {"2025/05/20", {"1年2組 10202 7 5"}},  // book 8 came back that day
        {"2025/05/21", {"1年2組 10202 7 6"}},  // book 9 was lent later
        {"2025/05/25", {"1年2組 10202 9 15"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Listed(c.day, OverdueFilter::OfClass(102)), c.listed) << c.day;
}

// The borrower's pupil number now; the loan's own when the borrower is gone.
TEST_F(OverdueTest, TheBorrowersCurrentPupilNumber) {
    kashidashi::library::ExecuteRows(Connection(),
                                     "Update Name Set seito_No='20101' Where NAME_ID='100001'");
    EXPECT_EQ(Listed("2025/06/11"),
              (std::vector<std::string>{"1年1組 10102 1 1", "1年1組 20101 2 2", "職員 90001 5 10",
                                        " 10999 6 6"}));
}

TEST_F(OverdueTest, TextsFollowTheWindowsColumns) {
    auto loans = OverdueLoans(Connection(), *engine::ParseDate("2025/06/11"));
    EXPECT_EQ(OverdueTitles().size(), 8u);
    EXPECT_EQ(OverdueTexts(loans.front()),
              (std::vector<std::string>{"1年1組", "10101", "青木　一郎", "0000002", "本2",
                                        "2025/05/20", "2025/06/09", "2"}));
}

class SchoolRow : public kashidashi::reports::ReportSource {
  public:
    const std::string& Name() const override { return name_; }
    void Open() override {}
    void First() override {}
    void Next() override {}
    bool Eof() const override { return false; }
    void Close() override {}
    kashidashi::reports::FieldReading Field(std::string_view) const override {
        return {engine::Value("若葉小学校"), engine::FieldType::String, "若葉小学校"};
    }

  private:
    std::string name_ = "rptHead";
};

std::string PageText(const kashidashi::reports::Page& page) {
    std::string text;
    for (const auto& piece : page.texts) text += piece.Text() + "|";
    return text;
}

TEST_F(OverdueTest, TheClassListPutsEachClassOnPagesOfItsOwn) {
    SchoolRow head;
    auto day = *engine::ParseDate("2025/06/12");
    auto report = OverdueListReport(OverdueLoans(Connection(), day), day, head);
    ASSERT_EQ(report.pages.size(), 4u);  // 1年1組, 1年2組, 職員, the borrower without a class
    EXPECT_NE(PageText(report.pages[0]).find("1年1組"), std::string::npos);
    EXPECT_EQ(PageText(report.pages[0]).find("1年2組"), std::string::npos);
    EXPECT_NE(PageText(report.pages[0]).find("件数　　2"), std::string::npos);
    EXPECT_NE(PageText(report.pages[0]).find("若葉小学校"), std::string::npos);
    EXPECT_NE(PageText(report.pages[1]).find("上田　健"), std::string::npos);
    EXPECT_NE(PageText(report.pages[1]).find("件数　　1"), std::string::npos);
}

TEST_F(OverdueTest, SlipsAreOnePerBorrowerThreeAPageWithCutLines) {
    SchoolRow head;
    auto day = *engine::ParseDate("2025/06/12");
    auto report = OverdueSlipsReport(OverdueLoans(Connection(), day), day, head);
    ASSERT_EQ(report.pages.size(), 2u);  // five borrowers
    int cuts = 0;
    for (const auto& page : report.pages)
        for (const auto& line : page.lines)
            cuts += line.style == kashidashi::reports::LineStyle::DashDot;
    EXPECT_EQ(cuts, 5);
    const std::string first = PageText(report.pages[0]);
    EXPECT_NE(first.find("1年1組　10101　青木　一郎 さん"), std::string::npos) << first;
    EXPECT_NE(first.find("・本2（返却予定日 2025/06/09）"), std::string::npos);
    EXPECT_NE(first.find("図書の返却のお願い"), std::string::npos);
    EXPECT_NE(first.find("図書館の先生に相談してください"), std::string::npos);
    // The slip to a member of staff speaks to an adult.
    std::string staff;
    for (const auto& page : report.pages) {
        const std::string text = PageText(page);
        const size_t at = text.find("大野　先生");
        if (at != std::string::npos) staff = text.substr(at, text.find("図書の返却", at) - at);
    }
    EXPECT_NE(staff.find("大野　先生 様"), std::string::npos) << staff;
    EXPECT_NE(staff.find("お手数ですが"), std::string::npos) << staff;
    EXPECT_EQ(staff.find("図書館の先生に相談"), std::string::npos) << staff;
}

}  // namespace
}  // namespace library_test
