// 新しく入った本 and よく読まれている本, for everyone and by grade group:
// loans of the last 90 days counted by the borrower's grade, staff only in
// みんな, and never a name on the page.
#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "opac/server_fixture.h"

namespace opac_test {
namespace {

std::string DaysAgo(int days) {
    return "'" + engine::FormatDate(engine::Date{engine::Today().days - days}) + "'";
}

class ListsTest : public ServerFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (301, '3年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (501, '5年1組');"
            "Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (900, '職員');"
            "Insert Into Name (NAME_ID, NAME, syozoku_ID) Values ('100001', '青木　一郎', 101);"
            "Insert Into Name (NAME_ID, NAME, syozoku_ID) Values ('300001', '井上　花子', 301);"
            "Insert Into Name (NAME_ID, NAME, syozoku_ID) Values ('500001', '上田　健', 501);"
            "Insert Into Name (NAME_ID, NAME, syozoku_ID) Values ('900001', '大野　先生', 900)");
        AddBook(1, "あさがおのかんさつ", "", "", "NDC_ID=470;tourokubi=" + DaysAgo(200));
        AddBook(2, "ももたろう", "", "", "yobi1_ID=11;tourokubi=" + DaysAgo(200));
        AddBook(3, "れきしのまんが", "", "", "NDC_ID=210;tourokubi=" + DaysAgo(200));
        AddBook(4, "しんかんのえほん", "", "", "yobi1_ID=11;tourokubi=" + DaysAgo(2));
        AddBook(5, "しんかんのれきし", "", "", "NDC_ID=210;tourokubi=" + DaysAgo(5));
        AddBook(6, "すこしまえのほん", "", "", "NDC_ID=210;tourokubi=" + DaysAgo(60));
        Lend(2, "100001", 10, 2);
        Lend(1, "100001", 10, 1);
        Lend(3, "300001", 20, 3);
        Lend(1, "900001", 30, 5);
        Lend(3, "500001", 100, 4);  // before the 90 days
        StartServer();
    }
    void Lend(int book, const std::string& user, int daysAgo, int times) {
        for (int i = 0; i < times; ++i)
            Sql("Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi, henkyakubi) Values (" +
                std::to_string(book) + ", '" + user + "', " + DaysAgo(daysAgo) + ", " +
                DaysAgo(daysAgo - 1) + ")");
    }
    // The titles of a list page, in order.
    std::vector<std::string> Titles(const std::string& target) {
        Answer page = Get(port, target);
        EXPECT_EQ(page.status, 200) << target;
        for (const char* personal : {"100001", "青木", "井上", "大野"})
            EXPECT_EQ(page.body.find(personal), std::string::npos) << target;
        std::vector<std::string> titles;
        size_t at = 0;
        while ((at = page.body.find("class=\"title\">", at)) != std::string::npos) {
            at += 14;
            titles.push_back(page.body.substr(at, page.body.find('<', at) - at));
        }
        return titles;
    }
};

TEST_F(ListsTest, PopularBooksAreCountedByTheBorrowersGradeGroup) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Titles("/popular"), (V{"あさがおのかんさつ", "れきしのまんが", "ももたろう"}));
    EXPECT_EQ(Titles("/popular?grade=low"), (V{"ももたろう", "あさがおのかんさつ"}));
    EXPECT_EQ(Titles("/popular?grade=mid"), (V{"れきしのまんが"}));
    EXPECT_EQ(Titles("/popular?grade=high"), V{});
    EXPECT_NE(Get(port, "/popular?grade=high").body.find("まだありません"), std::string::npos);
    EXPECT_EQ(Get(port, "/popular?grade=x").status, 404);
}

TEST_F(ListsTest, NewBooksAreThoseOfTheLastThirtyDaysOnTheShelvesAGroupReads) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Titles("/new"), (V{"しんかんのえほん", "しんかんのれきし"}));
    EXPECT_EQ(Titles("/new?grade=low"), (V{"しんかんのえほん"}));  // 絵本 and 4 are read
    EXPECT_EQ(Titles("/new?grade=mid"), (V{"しんかんのれきし"}));  // 2 is read
    EXPECT_EQ(Titles("/new?grade=high"), (V{"しんかんのえほん", "しんかんのれきし"}));
}

}  // namespace
}  // namespace opac_test
