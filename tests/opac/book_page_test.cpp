// A book's page: every copy's state read live (with the day an open loan is
// due), how many wait, and never who holds or waits for it.
#include <gtest/gtest.h>

#include "opac/server_fixture.h"

namespace opac_test {
namespace {

class BookPageTest : public ServerFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (101, '1年1組');"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('100001', '10101', "
            "'青木　一郎', 101);"
            "Insert Into Name (NAME_ID, seito_No, NAME, syozoku_ID) Values ('100002', '10102', "
            "'井上　花子', 101)");
        for (int id : {1, 2, 3})
            AddBook(id, "うちゅうの本", "ｳﾁｭｳﾉﾎﾝ", "星野　光",
                    "ISBN='978400000002';NDC_ID=453;HKN_ID=1;seikyu='440/ホ'");
        Sql("Update Book Set kashidashiF = True Where BOOK_ID = 1;"
            "Update Book Set kintaiF = True Where BOOK_ID = 3;"
            "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, henkyakuyotei, "
            "kashidashiF) Values (1, '100001', '10101', '2026/12/01', '2026/12/20', '1');"
            "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name, ISBN_ID) Values "
            "(1, 1, '100002', '10102', '井上　花子', '978400000002');"
            "Insert Into yoyaku (Book_ID, yoyaku_No, Name_ID, Seito_No, Name) Values "
            "(2, 1, '100001', '10101', '青木　一郎')");
        StartServer();
    }
};

TEST_F(BookPageTest, EachCopyShowsItsStateAndTheWaitingButNeverWho) {
    Answer page = Get(port, "/book/2");
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("貸出中（12月20日までに返る予定）"), std::string::npos);
    EXPECT_NE(page.body.find("貸出できます"), std::string::npos);
    EXPECT_NE(page.body.find("禁帯出"), std::string::npos);
    EXPECT_NE(page.body.find("予約して待っている人：2人"), std::string::npos);
    EXPECT_NE(page.body.find("453 地球科学"), std::string::npos);    // its division's name
    EXPECT_NE(page.body.find("うちゅうのほん"), std::string::npos);  // the reading in hiragana
    for (const char* personal : {"100001", "100002", "10101", "10102", "青木", "井上"})
        EXPECT_EQ(page.body.find(personal), std::string::npos) << personal;
}

TEST_F(BookPageTest, AReturnShowsAtOnceWithoutWaitingForTheIndex) {
    Sql("Update Book Set kashidashiF = False Where BOOK_ID = 1;"
        "Update kashibo Set kashidashiF = Null, henkyakubi = '2026/12/05' Where BOOK_ID = 1;"
        "Delete From yoyaku Where Book_ID = 2");
    Answer page = Get(port, "/book/1");
    EXPECT_EQ(page.body.find("貸出中"), std::string::npos);
    EXPECT_NE(page.body.find("予約して待っている人：1人"), std::string::npos);
    Answer found = Get(port, "/?q=%E3%81%86%E3%81%A1%E3%82%85%E3%81%86");  // うちゅう
    EXPECT_NE(found.body.find("3冊"), std::string::npos);
    EXPECT_NE(found.body.find("貸出できます"), std::string::npos);
}

}  // namespace
}  // namespace opac_test
