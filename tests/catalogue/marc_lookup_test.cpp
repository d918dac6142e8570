// The MARC source: records imported from MARC21 files into the MARC
// database, and LookupMarc's columns, classification and messages.
#include "catalogue/lookup_record.h"
#include "catalogue/marc_import.h"
#include "lookup_fixture.h"
#include "marc_files.h"

namespace catalogue_test {
namespace {

using namespace kashidashi::catalogue;
using Columns = std::map<std::string, std::string>;

constexpr const char* kNotFound = "該当する図書がありませんでした。";

class MarcLookupTest : public LookupFixture {
  protected:
    void SetUp() override {
        LookupFixture::SetUp();
        Services().marcDataPath = (folder / "ksno.mdb").string();
    }
    // Imports the records through an ISO 2709 file; the bad records' lines.
    std::vector<std::string> Import(const std::vector<TestRecord>& records) {
        std::string bytes;
        for (const auto& r : records) bytes += Iso2709(r);
        WriteFile((folder / "in.mrc").string(), bytes);
        std::vector<std::string> bad;
        const auto entries = ReadMarcFile((folder / "in.mrc").string(), bad);
        if (bad.empty()) WriteMarcDatabase(Services().marcDataPath, entries);
        return bad;
    }
    // One record of the ISBN-10 4834000826 with the values given.
    void Store(MarcValues values) {
        values["isbn"] = "4834000826";
        if (!values.count("title")) values["title"] = "本";
        WriteMarcDatabase(Services().marcDataPath, {values});
    }
};

TEST_F(MarcLookupTest, AnImportedRecordFillsTheBook) {
    ASSERT_EQ(Import({Book("ぐりとぐら /", "4-8340-0082-6 (上製)",
                           {{"084", {{'a', "913.6"}, {'2', "njb/09"}}},
                            {"090", {{'a', "913"}, {'b', "ナ"}}},
                            {"100", {{'a', "中川李枝子,"}}},
                            {"880", {{'6', "245-01"}, {'a', "グリ ト グラ"}}},
                            {"880", {{'6', "100-02"}, {'a', "ナカガワ リエコ"}}},
                            {"264", {{'b', "福音館書店,"}, {'c', "1967."}}},
                            {"300", {{'a', "27p ;"}, {'c', "19 cm"}}},
                            {"490", {{'a', "こどものとも傑作集"}}},
                            {"700", {{'a', "大村百合子"}}}})}),
              std::vector<std::string>{});
    ASSERT_TRUE(Run(LookupMarc, "9784834000825"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(book.Columns(), (Columns{{"syomei1", "こどものとも傑作集"},
                                       {"syomei2", "ぐりとぐら"},
                                       {"cyosya1", "中川李枝子"},
                                       {"cyosya2", "大村百合子"},
                                       {"key1", "ｸﾞﾘ ﾄ ｸﾞﾗ"},
                                       {"key2", "ﾅｶｶﾞﾜ ﾘｴｺ"},
                                       {"syuppansya", "福音館書店"},
                                       {"syuppannen", "1967"},
                                       {"ookisa", "19"},
                                       {"pageSuu", "27"},
                                       {"NDC_ID", "910"},
                                       {"yobi1_ID", "9"},
                                       {"biko", "913"},
                                       {"seikyu", "913-ナ-ナ"},
                                       {"HKN_ID", "1"}}));
}

// A record gives each reading twice in 880 fields, kana ($6 ".../$1") and
// romanised (".../(B"): the readings and the call number take the kana one.
TEST_F(MarcLookupTest, ReadingsComeFromTheKanaFieldsOnly) {
    ASSERT_EQ(Import({Book("萩野正昭の本", "4834000826",
                           {{"100", {{'6', "880-01"}, {'a', "萩野, 正昭"}}},
                            {"245", {{'6', "880-02"}, {'a', "本"}}},
                            {"880", {{'6', "100-01/(B"}, {'a', "Hagino, Masaki"}}},
                            {"880", {{'6', "100-01/$1"}, {'a', "ハギノ, マサアキ"}}},
                            {"880", {{'6', "245-02/(B"}, {'a', "Hon"}}},
                            {"880", {{'6', "245-02/$1"}, {'a', "ホン"}}},
                            // the CJK script of the name itself is no reading
                            {"700", {{'6', "880-03"}, {'a', "Tanaka"}}},
                            {"880", {{'6', "700-03/$1"}, {'a', "田中"}}},
                            {"084", {{'a', "023"}, {'2', "njb/10"}}}})}),
              std::vector<std::string>{});
    ASSERT_TRUE(Run(LookupMarc, "9784834000825"));
    EXPECT_EQ(book.Text("key2"), "ﾊｷﾞﾉ, ﾏｻｱｷ");
    EXPECT_EQ(book.Text("key1"), "ﾎﾝ");
    EXPECT_EQ(book.Text("seikyu"), "023-ハ-");
}

TEST_F(MarcLookupTest, TheClassificationGivesDivisionMainClassAndCallNumber) {
    const struct {
        const char* ndc;
        const char* ndcId;
        const char* mainClass;
        const char* biko;
        const char* callNumber;
    } cases[] = {
        {"E", "910", "11", "913", "絵本-ア-"},         {"Y", "930", "12", "933", "洋書-ア-"},
        {"913.6", "910", "9", "913", "913-ア-"},       {"7.2", "0", "0", "7", "007-ア-"},
        {"1.2.3", "990", "9", "990", "990-ア-"},       {"", "0", "0", "0", "000-ア-"},
        {"99999999999", "990", "9", "990", "990-ア-"},
    };
    for (const auto& c : cases) {
        Store({{"ndc", c.ndc}, {"author_kana", "アンデルセン"}});
        book = MemoryBookRecord();
        ASSERT_TRUE(Run(LookupMarc, "978483400082"));
        EXPECT_EQ(book.Text("NDC_ID"), c.ndcId) << c.ndc;
        EXPECT_EQ(book.Text("yobi1_ID"), c.mainClass) << c.ndc;
        EXPECT_EQ(book.Text("biko"), c.biko) << c.ndc;
        EXPECT_EQ(book.Text("seikyu"), c.callNumber) << c.ndc;
    }
}

TEST_F(MarcLookupTest, TheIsbn10CheckCharacterMayBeXOrZero) {
    for (const auto& [isbn13, isbn10] :
         {std::pair{"9784000000086", "400000008X"}, std::pair{"978400000002", "4000000020"}}) {
        WriteMarcDatabase(Services().marcDataPath, {{{"isbn", isbn10}, {"title", isbn10}}});
        book = MemoryBookRecord();
        ASSERT_TRUE(Run(LookupMarc, isbn13));
        EXPECT_EQ(book.Text("syomei2"), isbn10);
    }
}

TEST_F(MarcLookupTest, AuthorsAreCutIntoPiecesOfThirtyBytes) {
    Store({{"authors", "一//二//三//四//五"}});
    ASSERT_TRUE(Run(LookupMarc, "9784834000825"));
    EXPECT_EQ(book.Text("cyosya4"), "四");
    Store({{"authors", "abcdefghijklmnopqrstuvwxyzabc漢字の名前"}});  // 29 ASCII, then a kanji
    book = MemoryBookRecord();
    ASSERT_TRUE(Run(LookupMarc, "9784834000825"));
    EXPECT_EQ(book.Text("cyosya1"), "abcdefghijklmnopqrstuvwxyzabc");
    EXPECT_EQ(book.Text("cyosya2"), "漢字の名前");
}

TEST_F(MarcLookupTest, TheSubtitleIsReplacedAndOtherTypedValuesStay) {
    Store({{"series", "叢書"}, {"subtitle", ""}});
    book.Set("syomei1", "手で書いた叢書");
    book.Set("syomei3", "手で書いた副書名");
    book.Set("HKN_ID", "3");
    ASSERT_TRUE(Run(LookupMarc, "9784834000825"));
    EXPECT_EQ(book.Text("syomei1"), "手で書いた叢書");
    EXPECT_EQ(book.Text("syomei3"), "");
    EXPECT_EQ(book.Text("HKN_ID"), "3");
}

TEST_F(MarcLookupTest, MessagesEndTheLookupWithNothingWritten) {
    const auto lookup = [&](const char* isbn) {
        book = MemoryBookRecord();
        messages.clear();
        EXPECT_TRUE(Run(LookupMarc, isbn));
        EXPECT_TRUE(book.Columns().empty()) << isbn;
        return messages;
    };
    const auto notConnected = lookup("9784834000825");  // no database yet
    ASSERT_EQ(notConnected.size(), 1u);
    EXPECT_EQ(notConnected[0].substr(0, notConnected[0].find("\r\n")),
              "日書連MARCのデータに接続できません。原因は次のようなことが考えられます。");
    Store({});
    EXPECT_EQ(lookup("9784000000086"), std::vector<std::string>{kNotFound});
    EXPECT_EQ(lookup("9794834000825"), std::vector<std::string>{kNotFound});  // no ISBN-10
    WriteMarcDatabase(Services().marcDataPath, {{{"isbn", "4834000826"}, {"title", "二冊目"}},
                                                {{"isbn", "4834000826"}, {"title", "三冊目"}}});
    EXPECT_EQ(lookup("9784834000825"), std::vector<std::string>{kNotFound});  // two hits
    EXPECT_EQ(lookup("97848"), std::vector<std::string>{});                   // too short
}

}  // namespace
}  // namespace catalogue_test
