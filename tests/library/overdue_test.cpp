// The overdue list: open loans due before the day, in class, pupil number
// and due-date order, a borrower missing from Name last, filtered by class
// or staff; and its prints (a class a page, three slips a page with cut
// lines).
#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "library/overdue.h"
#include "library/overdue_prints.h"
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
}

}  // namespace
}  // namespace library_test
