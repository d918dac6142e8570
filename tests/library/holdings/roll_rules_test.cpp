// The roll's rules on a small school (year_fixture.h): numbers that name
// one user each, a user with books out, leavers, forgetting old borrowers.
#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "library/holdings/columns.h"
#include "library/holdings/forget_leavers.h"
#include "library/holdings/roll.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::library::holdings;

class RollRules : public YearFixture {
  protected:
    RollUser NewUser(const std::string& id, const std::string& pupil, int64_t classCode) {
        RollUser user;
        user.nameId = id;
        user.pupilNo = pupil;
        user.name = "新井　陽";
        user.classCode = classCode;
        return user;
    }
    std::string Joined(const std::vector<std::string>& texts) {
        std::string all;
        for (const auto& t : texts) all += t + "\n";
        return all;
    }
};

TEST_F(RollRules, ANumberNamesOneUser) {
    // 100009 borrowed book 6 and is no longer in Name: a new user is given
    // a number above it.
    EXPECT_EQ(NextFixedNumber(Connection()), "900002");
    RunSql(data, "Delete From Name Where NAME_ID='900001'");
    EXPECT_EQ(NextFixedNumber(Connection()), "900002");  // its loans still name it

    const struct {
        RollUser user;
        std::string problem;  // "" for none
        std::string warning;
    } kCases[] = {
        {NewUser("100005", "10101", 101),
         "生徒番号 10101 は 青木　一郎 さん（固定番号 100001）が使っています", ""},
        {NewUser("100001", "10301", 101), "固定番号 100001 は 青木　一郎 さんが使っています", ""},
        {NewUser("100009", "10301", 101), "",
         "固定番号 100009 は削除された利用者が使っていた番号です"},
        {NewUser("100005", "1030", 101), "生徒番号「1030」は5桁の数字にしてください", ""},
        {NewUser("10005", "10301", 101), "固定番号「10005」は6桁の数字にしてください", ""},
        {NewUser("100005", "10301", 555), "所属コード 555 はありません", ""},
        {NewUser("100005", "", 101), "", ""},
    };
    for (const auto& c : kCases) {
        auto check = CheckUser(Connection(), c.user, std::nullopt);
        if (c.problem.empty())
            EXPECT_TRUE(check.problems.empty()) << Joined(check.problems);
        else
            EXPECT_NE(Joined(check.problems).find(c.problem), std::string::npos)
                << c.user.nameId << "\n"
                << Joined(check.problems);
        if (!c.warning.empty())
            EXPECT_NE(Joined(check.warnings).find(c.warning), std::string::npos)
                << Joined(check.warnings);
    }
    auto tooLong = NewUser("100005", "10301", 101);
    tooLong.name = "とてもながいなまえのひとですね";
    EXPECT_NE(
        Joined(CheckUser(Connection(), tooLong, std::nullopt).problems).find("名前が長すぎます"),
        std::string::npos);
    // A user keeps their own pupil number through an edit.
    auto own = *ReadUser(Connection(), "100001");
    EXPECT_TRUE(CheckUser(Connection(), own, own).problems.empty());
}

TEST_F(RollRules, AddEditAndMove) {
    AddUser(Connection(), NewUser("100005", "10301", 102));
    auto added = ReadUser(Connection(), "100005");
    ASSERT_TRUE(added);
    EXPECT_EQ(added->className, "1年2組");
    EXPECT_EQ(added->onLoan, 0);
    EXPECT_EQ(UserOfPupilNumber(Connection(), "10301")->nameId, "100005");
    EXPECT_THROW(AddUser(Connection(), NewUser("100006", "10301", 102)), Refused);

    // The desk lends meanwhile: the edit of the name keeps the count.
    RunSql(data, "Update Name Set mihenkyakuSU=2 Where NAME_ID='100005'");
    added->name = "新井　陽太";
    EditUser(Connection(), *added);
    EXPECT_EQ(ReadUser(Connection(), "100005")->onLoan, 2);
    EXPECT_EQ(ReadUser(Connection(), "100005")->name, "新井　陽太");
    MoveUser(Connection(), "100005", 101);
    EXPECT_EQ(ReadUser(Connection(), "100005")->className, "1年1組");

    auto found = SearchUsers(Connection(), "アオキ", std::nullopt);
    EXPECT_TRUE(found.empty());  // names are kanji here: no reading to match
    found = SearchUsers(Connection(), "1年1組", std::nullopt);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].pupilNo, "10101");
    found = SearchUsers(Connection(), "１０１０２", std::nullopt);  // full-width digits
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "井上　花子");
}

// A user with books out is never deleted: the refusal lists the books. The
// leaver goes to 卒業・転出 (made now), frees the pupil number and loses
// the reservations.
TEST_F(RollRules, LeaversAndDeletion) {
    try {
        DeleteUser(Connection(), "100001");
        FAIL();
    } catch (const Refused& refused) {
        EXPECT_NE(std::string(refused.what()).find("青木　一郎 さんは本を 1 冊借りているので"),
                  std::string::npos);
        EXPECT_NE(std::string(refused.what()).find("0000002 本2"), std::string::npos)
            << refused.what();
    }
    RunSql(data,
           "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, yoyakubi) Values"
           " (1, 1, '100001', '10101', '青木　一郎', '2025/06/01');"
           "Update Book Set yoyakuF=True Where BOOK_ID=1");
    MarkLeft(Connection(), "100001", engine::MakeDate(2026, 3, 20));
    auto left = *ReadUser(Connection(), "100001");
    EXPECT_EQ(left.className, kLeaversClassName);
    EXPECT_EQ(*left.classCode, 99);
    EXPECT_EQ(left.pupilNo, "");
    EXPECT_TRUE(ReservationsOf(Connection(), "100001").empty());
    auto flag =
        kashidashi::library::SelectRows(Connection(), "Select yoyakuF From Book Where BOOK_ID=1");
    EXPECT_EQ(DisplayText(flag.rows[0].values[0]), "False");
    // The pupil number is free for a newcomer.
    AddUser(Connection(), NewUser("100005", "10101", 101));

    DeleteUser(Connection(), "100004");  // nothing out
    EXPECT_FALSE(ReadUser(Connection(), "100004"));
}

// Returned loans of a user who left long ago, and of a fixed number the roll
// no longer knows, lose their borrower; open loans and recent leavers stay.
TEST_F(RollRules, ForgettingLongGoneBorrowers) {
    MarkLeft(Connection(), "100001", engine::MakeDate(2023, 3, 20));
    MarkLeft(Connection(), "100002", engine::MakeDate(2026, 3, 20));
    RunSql(data,
           "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei,"
           " henkyakubi) Values (4, '100077', '10777', '2020/05/01', '2020/05/08', '2020/05/07')");
    const auto today = engine::MakeDate(2026, 4, 1);
    auto plan = PlanForgetLeavers(Connection(), 3, today);
    EXPECT_EQ(plan.users, (std::vector<std::string>{"100001", "100077"}));
    EXPECT_EQ(plan.loans, 2);
    ForgetLeavers(Connection(), 3, today);
    auto history = ReadingHistory(Connection(), "100001");
    ASSERT_EQ(history.size(), 1u);  // the open loan of book 2 stays
    EXPECT_EQ(history[0].book, 2);
    EXPECT_TRUE(ReadingHistory(Connection(), "100077").empty());
    EXPECT_EQ(PlanForgetLeavers(Connection(), 3, today).loans, 0);
}

}  // namespace
}  // namespace library_test
