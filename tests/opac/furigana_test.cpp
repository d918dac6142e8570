// ふりがなモード: a switch on every page, remembered in a cookie, that puts
// readings over every fixed text and over titles with a stored reading.
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <regex>

#include "opac/server_fixture.h"

namespace opac_test {
namespace {

class FuriganaTest : public ServerFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        schoolName = "ひかりしょうがっこう";  // a school whose stored texts have no kanji
        Sql("Delete From NDC; Delete From HKN;"
            "Insert Into HKN (HKN_ID, HKN) Values (1, 'としょしつ')");
        AddBook(1, "うちゅう", "ｳﾁｭｳ", "ほしの",
                "HKN_ID=1;NDC_ID=440;kashidashiF=True;ISBN='978400000003'");
        AddBook(2, "うちゅう", "ｳﾁｭｳ", "ほしの",
                "HKN_ID=1;NDC_ID=440;kintaiF=True;ISBN='978400000003'");
        AddBook(3, "宇宙図鑑", "ｳﾁｭｳｽﾞｶﾝ", "ほしの", "HKN_ID=1");
        Sql("Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi, henkyakuyotei, kashidashiF) "
            "Values (1, '100001', '2026/12/01', '2026/12/20', '1');"
            "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID) Values (1, 1, '100002')");
        StartServer();
    }
};

TEST_F(FuriganaTest, TheSwitchIsRememberedAndGoesBackToThePage) {
    Answer on = Get(port, "/furigana?on=1&back=%2Fbook%2F1");
    EXPECT_EQ(on.status, 303);
    EXPECT_EQ(on.headers["location"], "/book/1");
    EXPECT_NE(on.headers["set-cookie"].find("kx_furigana=1; Max-Age="), std::string::npos);
    EXPECT_NE(on.headers["set-cookie"].find("HttpOnly; SameSite=Lax"), std::string::npos);
    Answer off = Get(port, "/furigana?on=0&back=%2F");
    EXPECT_NE(off.headers["set-cookie"].find("kx_furigana=0; Max-Age=0"), std::string::npos);
    for (const char* elsewhere :
         {"%2F%2Fevil.example%2F", "https%3A%2F%2Fevil.example", "%2F%5Cevil"})
        EXPECT_EQ(Get(port, std::string("/furigana?on=1&back=") + elsewhere).headers["location"],
                  "/")
            << elsewhere;

    Answer plain = Get(port, "/book/3");
    EXPECT_EQ(plain.body.find("<ruby>"), std::string::npos);
    EXPECT_NE(plain.body.find("ふりがなをつける"), std::string::npos);
    Answer ruby = Get(port, "/book/3", "kx_furigana=1");
    EXPECT_NE(ruby.body.find("<body class=\"furigana\">"), std::string::npos);
    EXPECT_NE(ruby.body.find("<ruby>宇宙図鑑<rt>うちゅうずかん</rt></ruby>"), std::string::npos);
    EXPECT_NE(ruby.body.find("ふりがなを<ruby>消<rt>け</rt></ruby>す"), std::string::npos);
}

// Every kanji a page shows in ふりがなモード stands under a reading: the
// texts of the program all have theirs, and this school's stored texts have
// no kanji but one title with its reading.
TEST_F(FuriganaTest, EveryKanjiOfEveryPageHasItsReading) {
    for (const char* target : {"/", "/?q=%E3%81%86%E3%81%A1%E3%82%85%E3%81%86", "/?q=zzz",
                               "/book/1", "/book/3", "/new", "/popular", "/popular?grade=low"}) {
        Answer page = Get(port, target, "kx_furigana=1");
        ASSERT_EQ(page.status, 200) << target;
        std::string body = page.body.substr(page.body.find("<body"));
        // Options and attributes cannot hold ruby: their text has no markup.
        for (std::smatch m; std::regex_search(body, m, std::regex("<option[^>]*>(.*?)</option>"));
             body = m.suffix())
            EXPECT_EQ(m[1].str().find('<'), std::string::npos) << target << ": " << m[1];
        body = page.body.substr(page.body.find("<body"));
        body = std::regex_replace(body, std::regex("<ruby>.*?</ruby>"), "");
        body = std::regex_replace(body, std::regex("<[^>]*>"), "");
        for (uint c : QString::fromStdString(body).toUcs4())
            EXPECT_FALSE((c >= 0x4E00 && c <= 0x9FFF) || c == 0x3005)
                << target << ": U+" << std::hex << c << std::dec << " without a reading in "
                << body;
    }
}

}  // namespace
}  // namespace opac_test
