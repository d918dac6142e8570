// The word index: kana-insensitive words of one and two characters, ANDed,
// parts of a word but never across two, filters, works of several copies,
// and a refresh that follows registrations, edits and discards.
#include <gtest/gtest.h>

#include <set>

#include "opac/opac_fixture.h"

using namespace kashidashi::opac;

namespace opac_test {
namespace {

class SearchIndexTest : public OpacFixture {
  protected:
    void SetUp() override {
        OpacFixture::SetUp();
        AddBook(1, "きょうりゅう図鑑", "ｷｮｳﾘｭｳｽﾞｶﾝ", "山田　一郎",
                "NDC_ID=450;HKN_ID=1;ISBN='978400000001';tourokubi='2026/04/01'");
        AddBook(2, "きょうりゅう図鑑", "ｷｮｳﾘｭｳｽﾞｶﾝ", "山田　一郎",
                "NDC_ID=450;HKN_ID=1;ISBN='978400000001';kashidashiF=True");
        AddBook(3, "宇宙のふしぎ", "ｳﾁｭｳﾉﾌｼｷﾞ", "", "NDC_ID=440;HKN_ID=2;tourokubi='2026/05/01'");
        AddBook(4, "ＡＢＣえほん", "", "", "yobi1_ID=11;NDC_ID=910;HKN_ID=1");
        AddBook(5, "恐竜のなぞ", "ｷｮｳﾘｭｳﾉﾅｿﾞ", "", "kintaiF=True;HKN_ID=1");
        AddBook(6, "恐竜ずかん", "", "", "haikiF=True");
        AddBook(7, "虫", "ﾑｼ", "", "NDC_ID=480");
    }
    // The first copy of each work found.
    std::set<int64_t> Found(SearchQuery query) {
        std::set<int64_t> ids;
        for (const auto& hit : Site().Index().Search(query).hits) ids.insert(hit.copies.front());
        return ids;
    }
    std::set<int64_t> Found(const std::string& words) {
        SearchQuery query;
        query.words = words;
        return Found(query);
    }
};

TEST_F(SearchIndexTest, WordsMatchHoweverTheirKanaAreWritten) {
    const std::pair<std::string, std::set<int64_t>> cases[] = {
        {"恐竜", {5}},             // two characters; the discarded 6 never
        {"きょうりゅう", {1, 5}},  // hiragana meets a half-width reading
        {"キョウリュウ", {1, 5}},
        {"ｷｮｳﾘｭｳ", {1, 5}},
        {"宇宙", {3}},
        {"虫", {7}},  // one character
        {"図", {1}},
        {"ﾑｼ", {7}},
        {"abc", {4}},  // full-width letters meet ASCII
        {"ＡＢＣ", {4}},
        {"きょうりゅう　ずかん", {1}},  // words ANDed (an ideographic space)
        {"きょうりゅう なぞ", {5}},
        {"ゅうず", {1}},  // a part inside a word
        {"山田", {1}},
        {"田一", {}},  // never across two words
        {"宇宙 恐竜", {}},
        {"！？", {}},  // signs only: nothing to search
    };
    for (const auto& [words, ids] : cases) EXPECT_EQ(Found(words), ids) << words;
}

TEST_F(SearchIndexTest, FiltersNarrowAndCopiesOfOneTitleAreOneWork) {
    SearchQuery science;
    science.shelf = 4;  // 自然科学, by NDC_ID
    EXPECT_EQ(Found(science), (std::set<int64_t>{1, 3, 7}));
    SearchQuery picture;
    picture.shelf = kPictureBooks;  // the main class wins over NDC_ID 910
    EXPECT_EQ(Found(picture), (std::set<int64_t>{4}));
    SearchQuery place;
    place.place = 2;
    EXPECT_EQ(Found(place), (std::set<int64_t>{3}));
    SearchQuery lendable;
    lendable.words = "きょうりゅう";
    lendable.lendableOnly = true;  // 5 is 禁帯出; 1 is lendable though 2 is out
    EXPECT_EQ(Found(lendable), (std::set<int64_t>{1}));

    SearchQuery dinosaurs;
    dinosaurs.words = "ずかん";
    auto result = Site().Index().Search(dinosaurs);
    ASSERT_EQ(result.total, 1);
    EXPECT_EQ(result.hits[0].copies, (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(Site().Index().CopiesOf(2), (std::vector<int64_t>{1, 2}));
}

TEST_F(SearchIndexTest, OrderAndPagesFollowTheQuery) {
    SearchQuery all;
    all.shelf = 4;
    all.perPage = 2;
    auto first = Site().Index().Search(all);
    EXPECT_EQ(first.total, 3);
    ASSERT_EQ(first.hits.size(), 2u);
    EXPECT_EQ(first.hits[0].copies.front(), 3);  // registered last
    all.page = 2;
    EXPECT_EQ(Site().Index().Search(all).hits.size(), 1u);
    all.page = 1;
    all.order = SearchQuery::Order::Title;  // by reading: ウチュウ, キョウリュウ, ムシ
    auto byTitle = Site().Index().Search(all);
    EXPECT_EQ(byTitle.hits[0].copies.front(), 3);
    EXPECT_EQ(byTitle.hits[1].copies.front(), 1);
}

TEST_F(SearchIndexTest, ARefreshFindsRegistrationsEditsAndDiscards) {
    Site();
    AddBook(8, "宇宙人のひみつ", "ｳﾁｭｳｼﾞﾝﾉﾋﾐﾂ");
    Sql("Update Book Set syomei2 = '星のふしぎ', key1 = 'ﾎｼﾉﾌｼｷﾞ' Where BOOK_ID = 3;"
        "Update Book Set haikiF = True Where BOOK_ID = 7;"
        "Delete From Book Where BOOK_ID = 4");
    auto counts = Site().Refresh();
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(counts.changed, 1);
    EXPECT_EQ(counts.removed, 2);
    EXPECT_EQ(Found("宇宙"), (std::set<int64_t>{8}));
    EXPECT_EQ(Found("ほし"), (std::set<int64_t>{3}));
    EXPECT_EQ(Found("虫"), (std::set<int64_t>{}));
    EXPECT_EQ(Found("abc"), (std::set<int64_t>{}));
    auto again = Site().Refresh();  // nothing more to do
    EXPECT_EQ(again.added + again.changed + again.removed, 0);
    EXPECT_EQ(again.books, 5);
}

TEST_F(SearchIndexTest, ABookShelvedAgainOrLentMovesInTheFilters) {
    Site();
    Sql("Update Book Set kashidashiF = True Where BOOK_ID = 1;"
        "Update Book Set HKN_ID = 2 Where BOOK_ID = 5");
    Site().Refresh();
    SearchQuery lendable;
    lendable.words = "きょうりゅう";
    lendable.lendableOnly = true;
    EXPECT_EQ(Found(lendable), (std::set<int64_t>{}));
    SearchQuery place;
    place.place = 2;
    EXPECT_EQ(Found(place), (std::set<int64_t>{3, 5}));
}

}  // namespace
}  // namespace opac_test
