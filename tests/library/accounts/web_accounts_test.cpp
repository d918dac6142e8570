// The web accounts: passwords kept only as Argon2id hashes, login by the
// number the desk reads, the lock after five wrong passwords for fifteen
// minutes, the user's own change of password, and the school's switches.
#include <gtest/gtest.h>

#include <set>

#include "engine/common/dates.h"
#include "library/accounts/password_hash.h"
#include "library/accounts/web_accounts.h"
#include "library/accounts/web_switches.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::accounts;
using engine::DateTime;

DateTime At(const char* text) {
    return *engine::ParseDateTime(text);
}

DateTime Plus(DateTime moment, int minutes, int seconds = 0) {
    return DateTime{moment.msecs + (minutes * 60 + seconds) * 1000LL};
}

class WebAccountsTest : public YearFixture {};

TEST(PasswordHashTest, AnArgon2idHashWithItsOwnSaltThatOnlyTheRightPasswordMatches) {
    const std::string a = HashPassword("kumo-sora-7");
    const std::string b = HashPassword("kumo-sora-7");
    EXPECT_EQ(a.rfind("$argon2id$", 0), 0u) << a;
    EXPECT_NE(a, b);  // a salt of its own
    EXPECT_EQ(a.find("kumo-sora-7"), std::string::npos);
    EXPECT_TRUE(VerifyPassword(a, "kumo-sora-7"));
    EXPECT_TRUE(VerifyPassword(b, "kumo-sora-7"));
    EXPECT_FALSE(VerifyPassword(a, "kumo-sora-8"));
    EXPECT_FALSE(VerifyPassword(a, ""));
    EXPECT_FALSE(VerifyPassword("not a hash", "kumo-sora-7"));
    EXPECT_FALSE(VerifyPassword("", ""));
    // Slip passwords: eight characters without look-alikes, all different.
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string password = NewSlipPassword();
        ASSERT_EQ(password.size(), 8u);
        EXPECT_EQ(password.find_first_of("0o1li"), std::string::npos) << password;
        seen.insert(password);
    }
    EXPECT_EQ(seen.size(), 200u);
    EXPECT_NE(RandomToken(), RandomToken());
    EXPECT_EQ(RandomToken().size(), 43u);  // 32 bytes
}

TEST_F(WebAccountsTest, AnIssuedPasswordLogsInByPupilOrFixedNumberAndIsStoredOnlyHashed) {
    const DateTime now = At("2025/06/11 10:00");
    EXPECT_FALSE(HasAccount(Connection(), "100001"));
    const std::string password = IssuePassword(Connection(), "100001", now);
    EXPECT_TRUE(HasAccount(Connection(), "100001"));
    for (const char* number : {"10101", "100001", "１０１０１"}) {
        auto result = Login(Connection(), number, password, now);
        ASSERT_EQ(result.outcome, LoginOutcome::LoggedIn) << number;
        EXPECT_EQ(result.user.nameId, "100001");
        EXPECT_EQ(result.user.name, "青木　一郎");
    }
    // No trace of the password in clear in the stored rows.
    auto rows = kashidashi::library::SelectRows(Connection(), "Select * From kx_web_account");
    ASSERT_EQ(rows.rows.size(), 1u);
    for (const auto& value : rows.rows[0].values)
        EXPECT_EQ(kashidashi::library::TextOf(value).find(password), std::string::npos);
    // A new slip replaces the old password.
    const std::string second = IssuePassword(Connection(), "100001", now);
    EXPECT_EQ(Login(Connection(), "10101", password, now).outcome, LoginOutcome::Refused);
    EXPECT_EQ(Login(Connection(), "10101", second, now).outcome, LoginOutcome::LoggedIn);
}

TEST_F(WebAccountsTest, WrongPasswordsUnknownNumbersAndUsersWithoutAnAccountGetOneAnswer) {
    const DateTime now = At("2025/06/11 10:00");
    const std::string password = IssuePassword(Connection(), "100001", now);
    const struct {
        const char* number;
        std::string password;
    } cases[] = {
        {"10101", "wrong-one"}, {"10101", ""},       {"10101", std::string(5000, 'a')},
        {"10102", password},    {"99999", password}, {"", password},
        {"1234", password},     {"abc", password},   {"10101' or 1=1 --", "x"},
    };
    for (const auto& c : cases) {
        auto result = Login(Connection(), c.number, c.password, now);
        EXPECT_EQ(result.outcome, LoginOutcome::Refused) << c.number;
    }
}

TEST_F(WebAccountsTest, FiveWrongPasswordsLockTheAccountForFifteenMinutes) {
    const DateTime start = At("2025/06/11 10:00");
    const std::string password = IssuePassword(Connection(), "100002", start);
    // Four wrong, then the right one: the count starts again.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Login(Connection(), "10102", "nope", start).outcome, LoginOutcome::Refused);
    EXPECT_EQ(Login(Connection(), "10102", password, start).outcome, LoginOutcome::LoggedIn);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Login(Connection(), "10102", "nope", start).outcome, LoginOutcome::Refused);
    // The fifth wrong one locks.
    auto fifth = Login(Connection(), "10102", "nope", start);
    ASSERT_EQ(fifth.outcome, LoginOutcome::Locked);
    EXPECT_EQ(fifth.lockedUntil, Plus(start, 15));
    // Locked: the right password is refused too, up to the last second.
    EXPECT_EQ(Login(Connection(), "10102", password, Plus(start, 1)).outcome, LoginOutcome::Locked);
    EXPECT_EQ(Login(Connection(), "10102", password, Plus(start, 14, 59)).outcome,
              LoginOutcome::Locked);
    // Other users are not locked with it.
    const std::string other = IssuePassword(Connection(), "100003", start);
    EXPECT_EQ(Login(Connection(), "10201", other, Plus(start, 1)).outcome, LoginOutcome::LoggedIn);
    // After fifteen minutes the right password works again.
    EXPECT_EQ(Login(Connection(), "10102", password, Plus(start, 15)).outcome,
              LoginOutcome::LoggedIn);
    // A lock that ended by itself also starts the count again: four wrong
    // after it do not lock.
    for (int i = 0; i < 5; ++i) Login(Connection(), "10102", "nope", Plus(start, 20));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Login(Connection(), "10102", "nope", Plus(start, 40)).outcome,
                  LoginOutcome::Refused);
    // A new slip from the librarian ends a lock at once.
    Login(Connection(), "10102", "nope", Plus(start, 40));
    const std::string fresh = IssuePassword(Connection(), "100002", Plus(start, 41));
    EXPECT_EQ(Login(Connection(), "10102", fresh, Plus(start, 41)).outcome, LoginOutcome::LoggedIn);
}

TEST_F(WebAccountsTest, AUserChangesTheirPasswordWithThePresentOne) {
    const DateTime now = At("2025/06/11 10:00");
    const std::string issued = IssuePassword(Connection(), "100001", now);
    auto user = *FindWebUser(Connection(), "10101");
    const struct {
        std::string present, chosen;
        ChangeOutcome outcome;
    } cases[] = {
        {"wrong", "hanabi-2025", ChangeOutcome::WrongPassword},
        {issued, "short", ChangeOutcome::TooShort},
        {issued, std::string(65, 'x'), ChangeOutcome::TooLong},
        {issued, "10101", ChangeOutcome::TooShort},
        {issued, "100001", ChangeOutcome::SameAsNumber},
        {issued, "hanabi-2025", ChangeOutcome::Changed},
        {issued, "another-one", ChangeOutcome::WrongPassword},  // the old one is gone
    };
    for (const auto& c : cases) {
        auto outcome = ChangePassword(Connection(), user, c.present, c.chosen, now);
        EXPECT_EQ(outcome, c.outcome) << c.chosen;
    }
    EXPECT_EQ(Login(Connection(), "10101", issued, now).outcome, LoginOutcome::Refused);
    EXPECT_EQ(Login(Connection(), "10101", "hanabi-2025", now).outcome, LoginOutcome::LoggedIn);
    // Wrong present passwords count towards the lock.
    for (int i = 0; i < 4; ++i) ChangePassword(Connection(), user, "wrong", "hanabi-2026", now);
    EXPECT_EQ(ChangePassword(Connection(), user, "wrong", "hanabi-2026", now),
              ChangeOutcome::Locked);
    EXPECT_EQ(Login(Connection(), "10101", "hanabi-2025", now).outcome, LoginOutcome::Locked);
}

TEST_F(WebAccountsTest, TheSchoolsSwitchesAreOffUntilALibrarianTurnsThemOn) {
    WebSwitches stored = ReadWebSwitches(Connection());
    EXPECT_FALSE(stored.pupilPage);
    EXPECT_FALSE(stored.readingRecord);
    EXPECT_FALSE(stored.otherSchools);
    EXPECT_EQ(stored.reservationLimit, kDefaultReservationLimit);
    WriteWebSwitches(Connection(), {true, false, true, 5});
    stored = ReadWebSwitches(Connection());
    EXPECT_TRUE(stored.pupilPage);
    EXPECT_FALSE(stored.readingRecord);
    EXPECT_TRUE(stored.otherSchools);
    EXPECT_EQ(stored.reservationLimit, 5);
    EXPECT_EQ(SwitchesText(stored),
              "利用者のページ: 使う、読書記録: 使わない、他の学校の本: 使う、予約の上限: 5冊");
    EXPECT_THROW(WriteWebSwitches(Connection(), {true, true, true, 0}), std::invalid_argument);
    EXPECT_THROW(WriteWebSwitches(Connection(), {true, true, true, 21}), std::invalid_argument);
    EXPECT_TRUE(ReadWebSwitches(Connection()).pupilPage);  // the refused write changed nothing
}

}  // namespace
}  // namespace library_test
