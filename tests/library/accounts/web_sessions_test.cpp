// The web sessions: random tokens kept only as digests, ended after thirty
// minutes without a request, by logging out, or for every session of a user.
#include <gtest/gtest.h>

#include "library/accounts/password_hash.h"
#include "library/accounts/web_sessions.h"

namespace {

using namespace kashidashi::accounts;
using namespace std::chrono_literals;

TEST(WebSessionsTest, ASessionLivesWhileItIsUsedAndEndsAfterThirtyIdleMinutes) {
    SessionStore store;
    const auto start = SessionStore::Clock::now();
    const std::string token = store.Open("", "100001", start);
    auto found = store.Find(token, start + 29min);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->nameId, "100001");
    EXPECT_EQ(found->formToken.size(), 43u);
    EXPECT_FALSE(SameToken(found->formToken, token));
    // Each request starts the idle time again.
    EXPECT_TRUE(store.Find(token, start + 58min));
    EXPECT_FALSE(store.Find(token, start + 88min));
    EXPECT_FALSE(store.Find(token, start + 59min));  // gone for good
}

TEST(WebSessionsTest, OnlyTheExactTokenFindsASessionAndLogoutEndsIt) {
    SessionStore store;
    const std::string a = store.Open("", "100001");
    const std::string b = store.Open("", "100002");
    const std::string c = store.Open("school02", "100001");
    EXPECT_NE(a, b);
    EXPECT_EQ(store.Find(b)->nameId, "100002");
    std::string changed = a;
    changed.back() = changed.back() == 'A' ? 'B' : 'A';
    for (const std::string& guess :
         {std::string(), changed, a.substr(1), a + "A", TokenDigest(a), std::string(5000, 'A')})
        EXPECT_FALSE(store.Find(guess)) << guess.substr(0, 50);
    store.Close(a);
    EXPECT_FALSE(store.Find(a));
    EXPECT_TRUE(store.Find(b));
    // A user's every session on one school ends together; another school's stays.
    const std::string d = store.Open("", "100002");
    store.CloseAllOf("", "100002");
    EXPECT_FALSE(store.Find(b));
    EXPECT_FALSE(store.Find(d));
    EXPECT_EQ(store.Find(c)->school, "school02");
}

TEST(WebSessionsTest, IdleSessionsGoWhenNewOnesOpen) {
    SessionStore store;
    const auto start = SessionStore::Clock::now();
    for (int i = 0; i < 10; ++i) store.Open("", "10000" + std::to_string(i), start);
    EXPECT_EQ(store.Count(), 10u);
    store.Open("", "100001", start + 31min);
    EXPECT_EQ(store.Count(), 1u);
}

}  // namespace
