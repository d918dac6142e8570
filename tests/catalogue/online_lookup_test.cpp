// The national library and Rakuten lookups against a local server serving
// recorded answers: what is asked, what is filled, and every failure.
#include <chrono>

#include "catalogue/lookup_record.h"
#include "catalogue/lookup_text.h"
#include "lookup_fixture.h"

namespace catalogue_test {
namespace {

using namespace kashidashi::catalogue;
using Columns = std::map<std::string, std::string>;

class OnlineLookupTest : public LookupFixture {};

TEST_F(OnlineLookupTest, TheNationalLibraryFillsTheBook) {
    ServeNdl();
    ASSERT_TRUE(Run(LookupNdl, "9784834000821"));  // a misread check digit
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(server->Requests(),
              (std::vector<std::string>{"/api/opensearch?isbn=9784834000825",
                                        "/books/R100000002-I000001234567-00.json"}));
    EXPECT_EQ(book.Columns(), (Columns{{"syomei1", "こどものとも傑作集新版"},
                                       {"syomei2", "ぐりとぐら"},
                                       {"key1", "ｸﾞﾘ ﾄ ｸﾞﾗ"},
                                       {"key2", "ﾅｶｶﾞﾜ  ﾘｴｺ/ ｵｵﾑﾗ  ﾕﾘｺ/"},
                                       {"cyosya1", "中川  李枝子"},
                                       {"cyosya2", "大村  百合子"},
                                       {"syuppansya", "福音館書店"},
                                       {"syuppannen", "1967"},
                                       {"ookisa", "19×27"},
                                       {"pageSuu", "27"},
                                       {"kakaku", "1000"},
                                       {"NDC_ID", "910"},
                                       {"yobi1_ID", "9"},
                                       {"seikyu", "913-ナ-"},
                                       {"biko", "9136"}}));
}

TEST_F(OnlineLookupTest, FilledColumnsKeepTheirValues) {
    ServeNdl();
    book.Set("syomei2", "手で書いた書名");
    book.Set("NDC_ID", "400");
    book.Set("kakaku", "0");
    ASSERT_TRUE(Run(LookupNdl, "978483400082"));
    EXPECT_EQ(book.Text("syomei2"), "手で書いた書名");
    EXPECT_EQ(book.Text("NDC_ID"), "400");
    EXPECT_EQ(book.Text("kakaku"), "0");
    EXPECT_EQ(book.Text("yobi1_ID"), "");
    EXPECT_EQ(book.Text("seikyu"), "");
    EXPECT_EQ(book.Text("biko"), "9136");
    EXPECT_EQ(book.Text("syomei1"), "こどものとも傑作集新版");
}

TEST_F(OnlineLookupTest, NationalLibraryFailuresAbandonWithTheirMessage) {
    struct Case {
        const char* name;
        std::function<void(AnswerServer&, const LookupFixture&)> serve;
        const char* message;
    };
    const Case cases[] = {
        {"search answers 500",
         [](AnswerServer& s, const LookupFixture&) { s.Serve("/api/", "{}", 500); }, "B."},
        {"no record link",
         [](AnswerServer& s, const LookupFixture&) { s.Serve("/api/", "<rss></rss>"); }, "A."},
        {"a link without -00",
         [](AnswerServer& s, const LookupFixture&) {
             s.Serve("/api/", "<rss><link>" + s.Base() + "/books/R1-I2</link>-00</rss>");
         },
         "A."},
        {"record answers 404",
         [](AnswerServer& s, const LookupFixture&) {
             s.Serve("/api/", "<rss><link>" + s.Base() + "/books/R1-I2-00</link></rss>");
         },
         "A."},
    };
    for (const auto& c : cases) {
        server = std::make_unique<AnswerServer>();
        Services().ndlBase = server->Base();
        messages.clear();
        c.serve(*server, *this);
        EXPECT_FALSE(Run(LookupNdl, "9784834000825")) << c.name;
        EXPECT_EQ(messages, std::vector<std::string>{std::string(c.message) +
                                                     "国会図書館からの引当が出来ませんでした。"})
            << c.name;
        EXPECT_TRUE(book.Columns().empty()) << c.name;
    }
}

TEST_F(OnlineLookupTest, ARecordWithoutTitleCopiesNothing) {
    server->Serve("/api/opensearch", Answer("ndl_search.xml"));
    server->Serve("/books/", Answer("ndl_record_no_title.json"));
    EXPECT_FALSE(Run(LookupNdl, "9784834000825"));
    EXPECT_EQ(messages, std::vector<std::string>{"C.国会図書館からの引当が出来ませんでした。"});
    EXPECT_TRUE(book.Columns().empty());
}

TEST_F(OnlineLookupTest, ALongTitleGoesOnAsSubtitleWithoutSplittingACharacter) {
    // 59 ASCII bytes, then a double-byte character at byte 60.
    const std::string title = std::string(59, 'a') + "本の続きの題";
    server->Serve("/api/opensearch", Answer("ndl_search.xml"));
    server->Serve("/books/", "{\"l\"\"title\":[{\"value\":\"" + title + "\"}]}");
    ASSERT_TRUE(Run(LookupNdl, "9784834000825"));
    EXPECT_EQ(book.Text("syomei2"), std::string(59, 'a'));
    EXPECT_EQ(book.Text("syomei3"), "本の続きの題");
    EXPECT_EQ(LookupRecord().Title.size(), 59u);
}

TEST_F(OnlineLookupTest, RakutenFillsTheBook) {
    server->Serve("/services/", Answer("rakuten_item.json"));
    ASSERT_TRUE(Run(LookupRakuten, "978403328010"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(server->Requests(),
              std::vector<std::string>{
                  "/services/api/BooksBook/Search/20121128?format=json&isbn=9784033280103"
                  "&booksGenreId=001&applicationId=5820193746601827394"});
    EXPECT_EQ(book.Columns(),
              (Columns{{"syomei2", "はらぺこあおむし"},
                       {"key1", "ﾊﾗﾍﾟｺ ｱｵﾑｼ"},
                       {"key2", "ｶｰﾙ ｴﾘｯｸ/ﾓﾘ ﾋｻｼ"},
                       {"cyosya1", "エリック・カール"},
                       {"cyosya2", "もり ひさし"},
                       {"syuppansya", "偕成社"},
                       {"syuppannen", "1976年05月"},
                       {"ookisa", "絵本"},
                       {"kakaku", "1200"},
                       {"kenmei1", "ちいさなあおむしが、たくさん食べて大きくなります。"},
                       {"URL", "https://books.rakuten.co.jp/rb/152867/"}}));
}

TEST_F(OnlineLookupTest, FiveRakutenAuthorsLeaveTheLastTwoInTheFourth) {
    server->Serve("/services/", Answer("rakuten_five_authors.json"));
    ASSERT_TRUE(Run(LookupRakuten, "9784033280103"));
    EXPECT_EQ(book.Text("cyosya3"), "三");
    EXPECT_EQ(book.Text("cyosya4"), "四/五");
    EXPECT_EQ(book.Text("syomei3"), "合作");
    EXPECT_EQ(book.Text("kakaku"), "2000");
}

TEST_F(OnlineLookupTest, RakutenWithoutATitleSaysSoAndGoesOn) {
    server->Serve("/services/", Answer("rakuten_none.json"));
    EXPECT_TRUE(Run(LookupRakuten, "9784033280103"));
    EXPECT_EQ(messages, std::vector<std::string>{"B.楽天からの引当が出来ませんでした。"});
    EXPECT_TRUE(book.Columns().empty());
}

TEST_F(OnlineLookupTest, AFailedRakutenRequestIsNeverReadAsNoTitle) {
    Services().connectTimeout = std::chrono::milliseconds(500);
    Services().totalTimeout = std::chrono::milliseconds(500);
    Services().maxBytes = 64 * 1024;
    const std::string big = "\xEF\xBB\xBF" + std::string(64 * 1024, ' ') + "{}";
    const struct {
        const char* name;
        std::function<void(AnswerServer&)> serve;
    } cases[] = {
        {"500", [](AnswerServer& s) { s.Serve("/services/", "{\"Items\":[]}", 500); }},
        {"404", [](AnswerServer& s) { s.Serve("/nothing/", "{}"); }},
        {"hung", [](AnswerServer& s) { s.Hang("/services/"); }},
        {"oversize", [&](AnswerServer& s) { s.Serve("/services/", big); }},
    };
    for (const auto& c : cases) {
        server = std::make_unique<AnswerServer>();
        Services().rakutenBase = server->Base();
        messages.clear();
        c.serve(*server);
        EXPECT_FALSE(Run(LookupRakuten, "9784033280103")) << c.name;
        EXPECT_EQ(messages, std::vector<std::string>{"A.楽天からの引当が出来ませんでした。"})
            << c.name;
    }
}

TEST_F(OnlineLookupTest, BrokenUtf8IsAnErrorAndCopiesNothing) {
    server->Serve("/services/", "\xEF\xBB\xBF{\"Items\":[{\"Item\":{\"title\":\"\xFF\"}}]}");
    EXPECT_THROW(Run(LookupRakuten, "9784033280103"), Utf8Error);
    EXPECT_TRUE(book.Columns().empty());
    server->Serve("/api/", "");  // shorter than three bytes
    EXPECT_THROW(Run(LookupNdl, "9784834000825"), Utf8Error);
}

TEST_F(OnlineLookupTest, OnlyTheAllowedSchemesAreAsked) {
    Services().allowedSchemes = {"https"};
    server->Serve("/services/", Answer("rakuten_item.json"));
    EXPECT_FALSE(Run(LookupRakuten, "9784033280103"));
    EXPECT_TRUE(server->Requests().empty());
}

}  // namespace
}  // namespace catalogue_test
