// The catalogue's server answering real HTTP on a small school: pages,
// escaping, limits and headers.
#include <gtest/gtest.h>

#include "opac/server_fixture.h"

using namespace kashidashi::opac;

namespace opac_test {
namespace {

class ServerTest : public ServerFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        AddBook(1, "きょうりゅう図鑑", "ｷｮｳﾘｭｳｽﾞｶﾝ", "山田　一郎", "NDC_ID=450;HKN_ID=1");
        AddBook(2, "<script>alert(1)</script>", "", "", "HKN_ID=1");
        StartServer();
    }
};

TEST_F(ServerTest, TheSearchPageFindsBooksAndCarriesTheSecurityHeaders) {
    Answer home = Get(port, "/");
    ASSERT_EQ(home.status, 200);
    EXPECT_NE(home.body.find("name=\"q\""), std::string::npos);
    EXPECT_EQ(home.headers["x-content-type-options"], "nosniff");
    EXPECT_EQ(home.headers["referrer-policy"], "no-referrer");
    EXPECT_NE(home.headers["content-security-policy"].find("default-src 'none'"),
              std::string::npos);
    EXPECT_EQ(home.headers["content-security-policy"].find("script-src"), std::string::npos);

    Answer found =
        Get(port, "/?q=%E3%82%AD%E3%83%A7%E3%82%A6%E3%83%AA%E3%83%A5%E3%82%A6");  // キョウリュウ
    ASSERT_EQ(found.status, 200);
    EXPECT_NE(found.body.find("きょうりゅう図鑑"), std::string::npos);
    EXPECT_NE(found.body.find("/book/1"), std::string::npos);
}

TEST_F(ServerTest, ABookTitledScriptShowsAsText) {
    Answer book = Get(port, "/book/2");
    ASSERT_EQ(book.status, 200);
    EXPECT_EQ(book.body.find("<script>"), std::string::npos);
    EXPECT_NE(book.body.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    Answer found = Get(port, "/?q=script");
    EXPECT_EQ(found.body.find("<script>"), std::string::npos);
    Answer echoed = Get(port, "/?q=%3Cscript%3E%22");  // the query echoed in the box
    EXPECT_EQ(echoed.body.find("<script>"), std::string::npos);
    EXPECT_NE(echoed.body.find("value=\"&lt;script&gt;&quot;\""), std::string::npos);
}

TEST_F(ServerTest, WhatCannotBeAnsweredIsRefusedWithItsStatus) {
    const std::pair<std::string, int> cases[] = {
        {"/book/999", 404},
        {"/book/abc", 404},
        {"/nothing", 404},
        {"/a/../book/1", 400},
        {"/%2e%2e/%2e%2e/etc/passwd", 400},
        {"/?q=%ff%fe", 400},
        {"/?page=0", 400},
        {"/?page=99999", 400},
        {"/?q=" + std::string(300, 'a'), 414},
        {"/s/other/", 404},
    };
    for (const auto& [target, status] : cases)
        EXPECT_EQ(Get(port, target).status, status) << target;
    std::string huge = "GET /?q=" + std::string(1 << 20, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n";
    EXPECT_EQ(SendRaw(port, huge).status, 414);
    std::string body(1 << 20, 'a');
    EXPECT_EQ(SendRaw(port,
                      "POST / HTTP/1.1\r\nHost: x\r\nContent-Type: "
                      "application/x-www-form-urlencoded\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body)
                  .status,
              413);
    EXPECT_EQ(SendRaw(port, "DELETE /book/1 HTTP/1.1\r\nHost: x\r\n\r\n").status, 405);
    EXPECT_EQ(SendRaw(port, "GET / HTTP/1.1\r\nHost: x\r\nX-Long: " + std::string(100000, 'a') +
                                "\r\n\r\n")
                  .status,
              431);
    EXPECT_EQ(Get(port, "/").status, 200);  // still serving
}

}  // namespace
}  // namespace opac_test
