// The national library and Rakuten lookups against a local server serving
// answers the services really sent (tests/catalogue/answers, README there):
// what is asked, what is filled, and every failure. Variants of a recorded
// answer made here (cut off, reordered, re-encoded) say so where they are
// made.
#include <QJsonDocument>
#include <chrono>
#include <regex>

#include "catalogue/lookup_record.h"
#include "catalogue/lookup_text.h"
#include "lookup_fixture.h"
#include "platform/cp932.h"

namespace catalogue_test {
namespace {

using namespace kashidashi::catalogue;
using Columns = std::map<std::string, std::string>;

constexpr const char* kNdl = "ndl_search_clean_architecture.xml";
constexpr const char* kNdlMessage = "国会図書館からの引当が出来ませんでした。";
constexpr const char* kRakutenNoTitle = "B.楽天からの引当が出来ませんでした。";

// The columns the recorded answer of "Clean Architecture" gives.
const Columns kCleanArchitecture{
    {"syomei2", "Clean Architecture : 達人に学ぶソフトウェアの構造と設計"},
    {"cyosya1", "Martin  Robert C"},
    {"cyosya2", "角  征典"},
    {"cyosya3", "高木  正弘"},
    {"syuppansya", "ドワンゴ"},
    {"syuppannen", "2018.7"},
    {"pageSuu", "349"},
    {"kakaku", "3200"},
    {"seikyu", "007-カ-"},
    {"biko", "00763"},
    {"NDC_ID", "0"},
    {"key1", "ｸﾘｰﾝ ｱｰｷﾃｸﾁｬ : ﾀﾂｼﾞﾝ ﾆ ﾏﾅﾌﾞ ｿﾌ"},
    {"key2", "ｶﾄﾞ  ﾏｻﾉﾘ/ ﾀｶｷﾞ  ﾏｻﾋﾛ/"},
    {"yobi1_ID", "0"}};

// The columns the recorded formatVersion 1 answer's first item gives.
const Columns kPokemon{{"syomei1", "てんとう虫コミックス"},
                       {"syomei2", "ポケットモンスターSPECIAL Ωルビー・αサファイア 3"},
                       {"cyosya1", "日下 秀憲"},
                       {"cyosya2", "山本 サトシ"},
                       {"syuppansya", "小学館"},
                       {"syuppannen", "2016年09月28日"},
                       {"ookisa", "ｺﾐｯｸ"},
                       {"kakaku", "0"},
                       {"key1", "ﾎﾟｹｯﾄﾓﾝｽﾀｰｽﾍﾟｼｬﾙ ｵﾒｶﾞﾙﾋﾞｰｱﾙﾌｧｻ"},
                       {"key2", "ｸｻｶ ﾋﾃﾞﾉﾘ/ﾔﾏﾓﾄ ｻﾄｼ"},
                       {"URL", "http://books.rakuten.co.jp/rb/14382742/"}};

// The recorded answer with every line that holds one of the texts left out.
std::string Without(std::string text, const std::vector<std::string>& marks) {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end + 1 - start);
        bool drop = false;
        for (const std::string& m : marks) drop = drop || line.find(m) != std::string::npos;
        if (!drop) out += line;
        start = end + 1;
    }
    return out;
}

// The recorded answer with the item's elements grouped by name and the
// groups in reverse order: each kind of element stands elsewhere, repeated
// elements (the creators) keep their order among themselves.
std::string ItemReordered(const std::string& text) {
    const std::size_t open = text.find("<item>\n") + 7, close = text.rfind("        </item>");
    std::vector<std::pair<std::string, std::string>> groups;  // element name, its lines
    for (std::size_t start = open; start < close;) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end + 1 - start);
        const std::size_t from = line.find('<') + 1;
        const std::string name = line.substr(from, line.find_first_of(" >", from) - from);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.first == name; });
        if (group == groups.end()) group = groups.insert(groups.end(), {name, ""});
        group->second += line;
        start = end + 1;
    }
    std::string out = text.substr(0, open);
    for (auto g = groups.rbegin(); g != groups.rend(); ++g) out += g->second;
    return out + text.substr(close);
}

class OnlineLookupTest : public LookupFixture {
  protected:
    // Runs the lookup on a fresh book and server serving the answer.
    bool RunOn(void (*lookup)(const std::string&, LookupContext&), const std::string& answer) {
        server = std::make_unique<AnswerServer>();
        Services().ndlBase = Services().rakutenBase = server->Base();
        ServeNdl(answer);
        ServeRakuten(answer);
        book = MemoryBookRecord();
        messages.clear();
        return Run(lookup, lookup == LookupNdl ? "9784048930659" : "9784091422354");
    }
};

TEST_F(OnlineLookupTest, TheNationalLibraryFillsTheBookFromTheSearchAnswerAlone) {
    ServeNdl(Answer(kNdl));
    ASSERT_TRUE(Run(LookupNdl, "9784048930650"));  // a misread check digit
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(server->Requests(), std::vector<std::string>{"/api/opensearch?isbn=9784048930659"});
    EXPECT_EQ(book.Columns(), kCleanArchitecture);
}

TEST_F(OnlineLookupTest, TheNationalLibraryAnswerIsReadWhateverItsOrderAndWhitespace) {
    const std::string recorded = Answer(kNdl);
    const struct {
        const char* name;
        std::string answer;
    } cases[] = {
        {"the item's elements in another order", ItemReordered(recorded)},
        {"no whitespace between the tags",
         std::regex_replace(recorded, std::regex(">\\s+<"), "><")},
        {"a byte-order mark and CR LF line ends",
         "\xEF\xBB\xBF" + std::regex_replace(recorded, std::regex("\n"), "\r\n")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(RunOn(LookupNdl, c.answer)) << c.name;
        EXPECT_EQ(book.Columns(), kCleanArchitecture) << c.name;
    }
}

TEST_F(OnlineLookupTest, FilledColumnsKeepTheirValues) {
    ServeNdl(Answer(kNdl));
    book.Set("syomei2", "手で書いた書名");
    book.Set("NDC_ID", "400");
    book.Set("kakaku", "0");
    ASSERT_TRUE(Run(LookupNdl, "9784048930659"));
    EXPECT_EQ(book.Text("syomei2"), "手で書いた書名");
    EXPECT_EQ(book.Text("NDC_ID"), "400");
    EXPECT_EQ(book.Text("kakaku"), "0");
    EXPECT_EQ(book.Text("yobi1_ID"), "");
    EXPECT_EQ(book.Text("seikyu"), "");
    EXPECT_EQ(book.Text("biko"), "00763");
    EXPECT_EQ(book.Text("pageSuu"), "349");
}

TEST_F(OnlineLookupTest, NationalLibraryFailuresAbandonWithTheirMessage) {
    const std::string recorded = Answer(kNdl);
    const struct {
        const char* name;
        std::function<void(AnswerServer&)> serve;
        const char* message;
    } cases[] = {
        {"search answers 500", [](AnswerServer& s) { s.Serve("/api/", "{}", 500); }, "B."},
        {"no book found", [&](AnswerServer& s) { s.Serve("/api/", Answer("ndl_search_none.xml")); },
         "A."},
        {"neither title nor series (the recording without them)",
         [&](AnswerServer& s) {
             s.Serve("/api/", Without(recorded, {"<title>", "<dc:title>", "seriesTitle"}));
         },
         "C."},
        {"cut off in the item",
         [&](AnswerServer& s) { s.Serve("/api/", recorded.substr(0, 2500)); }, "C."},
        {"cut off before </rss>",
         [&](AnswerServer& s) { s.Serve("/api/", recorded.substr(0, recorded.size() - 8)); }, "C."},
        {"not XML", [](AnswerServer& s) { s.Serve("/api/", "Service Temporarily Unavailable"); },
         "C."},
        {"empty", [](AnswerServer& s) { s.Serve("/api/", ""); }, "C."},
        {"Shift-JIS instead of UTF-8",
         [&](AnswerServer& s) { s.Serve("/api/", platform::ToCp932(recorded)); }, "C."},
    };
    for (const auto& c : cases) {
        server = std::make_unique<AnswerServer>();
        Services().ndlBase = server->Base();
        messages.clear();
        c.serve(*server);
        EXPECT_FALSE(Run(LookupNdl, "9784048930659")) << c.name;
        EXPECT_EQ(messages, std::vector<std::string>{std::string(c.message) + kNdlMessage})
            << c.name;
        EXPECT_TRUE(book.Columns().empty()) << c.name;
    }
}

TEST_F(OnlineLookupTest, ALongTitleGoesOnAsSubtitleWithoutSplittingACharacter) {
    // The recording with its title made 59 ASCII bytes and then kanji.
    const std::string title = std::string(59, 'a') + "本の続きの題";
    ServeNdl(std::regex_replace(Answer(kNdl), std::regex("<dc:title>[^<]*"), "<dc:title>" + title));
    ASSERT_TRUE(Run(LookupNdl, "9784048930659"));
    EXPECT_EQ(book.Text("syomei2"), std::string(59, 'a'));
    EXPECT_EQ(book.Text("syomei3"), "本の続きの題");
    EXPECT_EQ(LookupRecord().Title.size(), 59u);
}

TEST_F(OnlineLookupTest, RakutenFillsTheBookFromEitherFormatVersion) {
    const std::string v1 = Answer("rakuten_books_v1.json");
    // formatVersion 1 re-written by QJsonDocument: no whitespace, and the
    // keys in alphabetical order (title after author, authorKana, ...).
    const std::string sorted = QJsonDocument::fromJson(QByteArray::fromStdString(v1))
                                   .toJson(QJsonDocument::Compact)
                                   .toStdString();
    const struct {
        const char* name;
        std::string answer;
        Columns columns;
    } cases[] = {
        {"formatVersion 1, pretty-printed", v1, kPokemon},
        {"formatVersion 1, keys reordered, compact", sorted, kPokemon},
        {"formatVersion 1, a JSON escape",
         std::regex_replace(v1, std::regex("小学館"), "\\u5c0f\\u5b66\\u9928"), kPokemon},
        {"formatVersion 2",
         Answer("rakuten_books_v2.json"),
         {{"syomei2", "RUBY and you tote bag book"},
          {"syuppansya", "宝島社"},
          {"syuppannen", "2017年02月14日"},
          {"ookisa", "ﾑｯｸその他"},
          {"kakaku", "0"},
          {"key1", "ﾙﾋﾞｰ ｱﾝﾄﾞ ﾕｰ ﾄｰﾄ ﾊﾞｯｸﾞ ﾌﾞｯｸ"},
          {"URL", "http://books.rakuten.co.jp/rb/14647274/"}}},
        {"compact, a list price",
         Answer("rakuten_foreign_books_compact.json"),
         {{"syomei2", "Letters from Ruby"},
          {"cyosya1", "Adam Thomas"},
          {"syuppansya", "ABINGDON PR"},
          {"syuppannen", "2013年"},
          {"kakaku", "2373"},
          {"URL", "http://books.rakuten.co.jp/rb/12423044/"}}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(RunOn(LookupRakuten, c.answer)) << c.name;
        EXPECT_TRUE(messages.empty()) << c.name;
        EXPECT_EQ(book.Columns(), c.columns) << c.name;
    }
    EXPECT_EQ(server->Requests(),
              std::vector<std::string>{
                  "/services/api/BooksBook/Search/20121128?format=json&isbn=9784091422354"
                  "&booksGenreId=001&applicationId=5820193746601827394"});
}

TEST_F(OnlineLookupTest, RakutenWithoutABookSaysSoAndGoesOn) {
    const std::string v1 = Answer("rakuten_books_v1.json");
    const struct {
        const char* name;
        std::string answer;
    } cases[] = {
        {"no items", Answer("rakuten_ichiba_none.json")},
        {"cut off", v1.substr(0, v1.size() / 2)},
        {"not JSON", "<html><body>503</body></html>"},
        {"Shift-JIS instead of UTF-8", platform::ToCp932(v1)},
        {"no title", std::regex_replace(v1, std::regex("\"title\""), "\"titel\"")},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(RunOn(LookupRakuten, c.answer)) << c.name;
        EXPECT_EQ(messages, std::vector<std::string>{kRakutenNoTitle}) << c.name;
        EXPECT_TRUE(book.Columns().empty()) << c.name;
    }
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

TEST_F(OnlineLookupTest, OnlyTheAllowedSchemesAreAsked) {
    Services().allowedSchemes = {"https"};
    ServeRakuten(Answer("rakuten_books_v1.json"));
    EXPECT_FALSE(Run(LookupRakuten, "9784091422354"));
    EXPECT_TRUE(server->Requests().empty());
}

}  // namespace
}  // namespace catalogue_test
