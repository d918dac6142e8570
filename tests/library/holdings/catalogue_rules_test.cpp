// The catalogue's rules on a small school (year_fixture.h): the search,
// an edit that writes only what the operator changed while a desk lends,
// the row lock, additions, discards and deletions, the code lists.
#include <gtest/gtest.h>

#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "library/holdings/book_search.h"
#include "library/holdings/books.h"
#include "library/holdings/code_lists.h"
#include "library/holdings/columns.h"
#include "library/sql_rows.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::library::holdings;
using kashidashi::library::SelectRows;
using kashidashi::library::TextOf;

class CatalogueRules : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        RunSql(data,
               "Insert Into HKN (HKN_ID, HKN) Values (1, '第一書庫');"
               "Insert Into NDC (NDC_ID, NDC) Values (913, '日本文学');"
               "Update Book Set syomei2='はらぺこあおむし', key1='ﾊﾗﾍﾟｺｱｵﾑｼ', "
               "cyosya1='エリック＝カール',"
               " ISBN='978403328001', NDC_ID=913, HKN_ID=1, seikyu='913-カ-1',"
               " tourokubi='2024/04/01' Where BOOK_ID=3;"
               "Update Book Set syomei2='ぐりとぐら', cyosya1='なかがわりえこ', kintaiF=True,"
               " tourokubi='2025/04/01' Where BOOK_ID=1;"
               "Insert Into Book (BOOK_ID, syomei2, haikiF, kashidashiF) Values (7, '古い図鑑',"
               " True, False)");
    }
    std::vector<int64_t> Found(const std::string& words, bool startsWith = false) {
        std::vector<int64_t> numbers;
        for (const auto& hit : SearchBooks(Connection(), {words, startsWith, {}, {}}))
            numbers.push_back(hit.number);
        return numbers;
    }
    std::string Column(int64_t book, const std::string& column) {
        auto rows = SelectRows(
            Connection(), "Select " + column + " From Book Where BOOK_ID=" + std::to_string(book));
        return rows.rows.empty() ? "?" : DisplayText(rows.rows[0].values[0]);
    }
};

TEST_F(CatalogueRules, SearchFindsAKanaWordHoweverItIsTyped) {
    const struct {
        const char* words;
        bool startsWith;
        std::vector<int64_t> books;
    } kCases[] = {
        {"ハラペコ", false, {3}},       // katakana of a hiragana title
        {"ﾊﾗﾍﾟｺ　カール", false, {3}},  // half-width, two words ANDed
        {"はらぺこ ぐら", false, {}},   // no book has both
        {"あおむし", false, {3}},       // inside the title
        {"あおむし", true, {}},         // ... but no title begins so
        {"ｱｵﾑｼ", true, {}},             // nor its reading
        {"はら", true, {3}},
        {"978-4-03-328001-5", false, {3}},  // ISBN-13 with hyphens
        {"4033280010", false, {3}},         // ISBN-10
        {"0000003", false, {3}},            // book number with zeros
        {"日本文学", false, {3}},           // NDC name
        {"第一書庫", false, {3}},           // storage place
        {"９１３－カ", false, {3}},         // call number, full width
        {"図鑑", false, {7}},               // discarded books are found too
    };
    for (const auto& c : kCases) EXPECT_EQ(Found(c.words, c.startsWith), c.books) << c.words;

    BookQuery period{"", false, engine::MakeDate(2025, 1, 1), engine::MakeDate(2025, 12, 31)};
    auto hits = SearchBooks(Connection(), period);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].number, 1);
}

TEST_F(CatalogueRules, EachBookShowsItsState) {
    RunSql(data, "Update Book Set yoyakuF=True Where BOOK_ID=2");
    std::map<int64_t, std::string> states;
    for (const auto& hit : SearchBooks(Connection(), {})) states[hit.number] = StateText(hit);
    EXPECT_EQ(states[1], "貸出中（2025/06/10まで）");  // on loan beats 禁帯
    EXPECT_EQ(states[2], "貸出中（2025/06/09まで）・予約あり");
    EXPECT_EQ(states[3], "在架");
    EXPECT_EQ(states[7], "除籍");
}

// The window read the book, a desk lent it, the operator corrects the
// title: the loan flag stays, only the title is written.
TEST_F(CatalogueRules, AnEditWritesOnlyTheChangedColumns) {
    auto loaded = *ReadBook(Connection(), 3);
    RunSql(data, "Update Book Set kashidashiF=True, yoyakuF=True Where BOOK_ID=3");
    auto edited = loaded;
    edited["syomei2"] = "はらぺこあおむし（新装版）";
    EXPECT_EQ(SaveBook(Connection(), 3, loaded, edited), std::vector<std::string>{"syomei2"});
    EXPECT_EQ(Column(3, "syomei2"), "はらぺこあおむし（新装版）");
    EXPECT_EQ(Column(3, "kashidashiF"), "True");
    EXPECT_EQ(Column(3, "yoyakuF"), "True");
    EXPECT_EQ(Column(3, "ISBN"), "978403328001");

    // Too long for its bytes, an unknown place: refused, nothing written.
    edited = *ReadBook(Connection(), 3);
    auto before = edited;
    edited["syomei2"] = std::string(31 * 3, 'x') + "あああああああああああああああ";
    edited["HKN_ID"] = "9";
    try {
        SaveBook(Connection(), 3, before, edited);
        FAIL() << "refused";
    } catch (const Refused& refused) {
        EXPECT_NE(std::string(refused.what()).find("書名が長すぎます（60バイトまで"),
                  std::string::npos)
            << refused.what();
        EXPECT_NE(
            std::string(refused.what()).find("保管場所のコード 9 は保管場所の一覧にありません"),
            std::string::npos)
            << refused.what();
    }
    EXPECT_EQ(Column(3, "syomei2"), "はらぺこあおむし（新装版）");
}

// A desk holds the book's row (it is lending it): the edit waits as the
// desk would, then gives up with the engine's 10258, nothing written.
TEST_F(CatalogueRules, AnEditWaitsForTheDesksRowLock) {
    engine::TDBSession desk("HOLDINGS_DESK");
    engine::TDBDatabase aaa("AAA", desk);
    aaa.SetDirectory(data);
    engine::TDBTable books;
    books.SetSessionName("HOLDINGS_DESK");
    books.SetDatabaseName("AAA");
    books.SetTableName("Book");
    books.Open();
    ASSERT_TRUE(books.FindKey({engine::Value(int64_t{3})}));
    books.Edit();
    auto loaded = *ReadBook(Connection(), 3);
    auto edited = loaded;
    edited["syomei2"] = "べつの書名";
    try {
        SaveBook(Connection(), 3, loaded, edited);
        FAIL() << "the lock was not met";
    } catch (const engine::EngineError& error) {
        EXPECT_EQ(error.code(), engine::err::kRecordLocked);
    }
    books.Cancel();
    EXPECT_EQ(Column(3, "syomei2"), "はらぺこあおむし");
}

TEST_F(CatalogueRules, AddingABookAndACopy) {
    const int64_t added = AddBook(Connection(), {{"syomei2", "ことりのうた"},
                                                 {"ISBN", "4-03-328001-0"},
                                                 {"HKN_ID", "1"},
                                                 {"kintaiF", "True"}});
    EXPECT_EQ(added, 8);  // one above the highest
    EXPECT_EQ(Column(8, "ISBN"), "978403328001");
    EXPECT_EQ(Column(8, "kintaiF"), "True");
    EXPECT_EQ(Column(8, "kashidashiF"), "False");
    EXPECT_EQ(Column(8, "tourokubi"), engine::FormatDate(engine::Today()));
    const int64_t copy = AddCopy(Connection(), 8);
    EXPECT_EQ(copy, 9);
    EXPECT_EQ(Column(9, "syomei2"), "ことりのうた");
    EXPECT_EQ(Column(9, "ISBN"), "978403328001");
    EXPECT_THROW(AddBook(Connection(), {{"BOOK_ID", "3"}, {"syomei2", "重複"}}), Refused);
    EXPECT_THROW(AddBook(Connection(), {{"syomei2", "x"}, {"ISBN", "12345"}}), Refused);
}

TEST_F(CatalogueRules, DiscardRestoreAndDelete) {
    const auto day = engine::MakeDate(2026, 3, 31);
    EXPECT_THROW(DiscardBook(Connection(), 1, day, "破損"), Refused);  // on loan
    DiscardBook(Connection(), 3, day, "破損がひどい");
    EXPECT_EQ(Column(3, "haikiF"), "True");
    EXPECT_EQ(Column(3, "haiki_date"), "2026/03/31");
    ASSERT_TRUE(DiscardOf(Connection(), 3));
    EXPECT_EQ(DiscardOf(Connection(), 3)->reason, "破損がひどい");
    RestoreBook(Connection(), 3, day);
    EXPECT_EQ(Column(3, "haikiF"), "False");
    EXPECT_EQ(Column(3, "haiki_date"), "");
    EXPECT_FALSE(DiscardOf(Connection(), 3));

    // A book with loans on record is discarded, never deleted.
    try {
        DeleteBook(Connection(), 3);
        FAIL();
    } catch (const Refused& refused) {
        EXPECT_NE(std::string(refused.what()).find("除籍にしてください"), std::string::npos);
    }
    DeleteBook(Connection(), 7);
    EXPECT_FALSE(ReadBook(Connection(), 7));
    ASSERT_EQ(LoansOfBook(Connection(), 3).size(), 1u);
    EXPECT_EQ(LoansOfBook(Connection(), 3)[0].name, "青木　一郎");
}

TEST_F(CatalogueRules, ACodeInUseIsNotRemoved) {
    AddCode(Connection(), CodeList::Places, "2", "第二書庫");
    EXPECT_THROW(AddCode(Connection(), CodeList::Places, "2", "また"), Refused);
    RenameCode(Connection(), CodeList::Places, "2", "閉架書庫");
    auto places = ReadCodes(Connection(), CodeList::Places);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[1].name, "閉架書庫");
    EXPECT_EQ(places[0].used, 1);
    RemoveCode(Connection(), CodeList::Places, "2");
    try {
        RemoveCode(Connection(), CodeList::Classes, "101");
        FAIL();
    } catch (const Refused& refused) {
        EXPECT_EQ(std::string(refused.what()),
                  "所属「101」は 2 人が使っているので削除できません（青木　一郎、井上　花子）");
    }
    EXPECT_EQ(ReadCodes(Connection(), CodeList::Classes).size(), 3u);
}

}  // namespace
}  // namespace library_test
