// The one parser of what a client sends: every refusal is a status, never a
// crash, and what passes is clean.
#include <gtest/gtest.h>

#include "opac/request_target.h"

using namespace kashidashi::opac;

namespace {

struct Case {
    std::string raw;
    int status;        // 0: accepted
    std::string path;  // when accepted
};

TEST(RequestTargetTest, PathsAreDecodedCheckedAndRefusedWithTheirStatus) {
    const Case cases[] = {
        {"/", 0, "/"},
        {"/book/12", 0, "/book/12"},
        {"/book/12/", 0, "/book/12"},  // a trailing slash is dropped
        {"/%E6%81%90%E7%AB%9C", 0, "/恐竜"},
        {"/a/../b", 400, ""},
        {"/a/./b", 400, ""},
        {"/%2E%2E/etc/passwd", 400, ""},  // an encoded dot segment
        {"/a%2Fb", 400, ""},              // an encoded slash
        {"/a%5Cb", 400, ""},
        {"/a//b", 400, ""},
        {"relative", 400, ""},
        {"", 400, ""},
        {"/%zz", 400, ""},
        {"/%4", 400, ""},
        {"/%ff", 400, ""},   // not UTF-8
        {"/%00x", 400, ""},  // a control character
        {"/a#b", 400, ""},
        {"/" + std::string(600, 'a'), 414, ""},
        {"/?q=" + std::string(5000, 'a'), 414, ""},
        {"/?q=" + std::string(2000, 'a'), 414, ""},  // one field beyond its limit
    };
    for (const auto& c : cases) {
        auto result = ParseTarget(c.raw);
        if (c.status == 0) {
            ASSERT_TRUE(std::holds_alternative<Target>(result)) << c.raw;
            EXPECT_EQ(std::get<Target>(result).path, c.path) << c.raw;
        } else {
            ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << c.raw;
            EXPECT_EQ(std::get<Refusal>(result).status, c.status) << c.raw;
        }
    }
}

TEST(RequestTargetTest, QueryFieldsAreDecodedInOrder) {
    auto result = ParseTarget("/?q=%E3%81%8D%E3%82%87%E3%81%86+%E3%82%8A&page=2&&empty=&bare");
    ASSERT_TRUE(std::holds_alternative<Target>(result));
    const auto& query = std::get<Target>(result).query;
    ASSERT_EQ(query.size(), 4u);
    EXPECT_EQ(query[0], (std::pair<std::string, std::string>{"q", "きょう り"}));
    EXPECT_EQ(query[1].second, "2");
    EXPECT_EQ(query[2], (std::pair<std::string, std::string>{"empty", ""}));
    EXPECT_EQ(query[3], (std::pair<std::string, std::string>{"bare", ""}));
}

TEST(RequestTargetTest, FieldsThatAreNotCleanOrTooManyAreRefused) {
    for (const std::string raw : {"q=%C0%AF", "q=%ED%A0%80", "q=a%0Db", "q=%7F", "q=%"}) {
        auto result = ParseFields(raw);
        ASSERT_TRUE(std::holds_alternative<Refusal>(result)) << raw;
        EXPECT_EQ(std::get<Refusal>(result).status, 400) << raw;
    }
    std::string many;
    for (int i = 0; i < 40; ++i) many += "a=1&";
    EXPECT_TRUE(std::holds_alternative<Refusal>(ParseFields(many)));
    EXPECT_TRUE(std::holds_alternative<Fields>(ParseFields("q=%09tab")));
}

TEST(RequestTargetTest, CookiesAreFoundByExactName) {
    EXPECT_EQ(CookieValue("a=1; kx_furigana=1; b=2", "kx_furigana"), "1");
    EXPECT_EQ(CookieValue("xkx_furigana=1", "kx_furigana"), "");
    EXPECT_EQ(CookieValue("", "kx_furigana"), "");
    EXPECT_EQ(CookieValue("kx_furigana", "kx_furigana"), "");
}

}  // namespace
