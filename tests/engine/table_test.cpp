// Tables: storage rules, navigation, key searches, filters and lookups.
#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine_fixture.h"

namespace engine::testing {
namespace {

class TableTest : public EngineFixture {
  protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeTable("Book",
                  {{"BOOK_ID", Int()},
                   {"syomei2", Text(10)},
                   {"kashidashiF", Bool()},
                   {"ISBN", Text(15)},
                   {"tourokubi", DateCol()}},
                  {"BOOK_ID"}, {{"ISBN", {"ISBN"}, false, false}});
    }

    void AddBook(int id, const char* title, Value lent = Value(), const char* isbn = "") {
        auto book = Table("book");
        book->Open();
        book->Append();
        book->FieldByName("BOOK_ID").SetAsInteger(id);
        book->FieldByName("syomei2").SetAsString(title);
        book->FieldByName("kashidashiF").SetValue(lent);
        book->FieldByName("isbn").SetAsString(isbn);
        book->Post();
    }
};

TEST_F(TableTest, TextsAreStoredByTheStorageRules) {
    struct Case {
        const char* given;
        bool isNull;
        const char* read;
    } cases[] = {
        {"abc  ", false, "abc"},                // trailing ASCII blanks go
        {"", true, ""},                         // empty is NULL
        {"   ", true, ""},                      // blanks only is NULL too
        {"本の題名です", false, "本の題名で"},  // ten CP932 bytes: five Japanese characters
        {"ab本の題名です", false, "ab本の題名"},
        {"abc本の題名", false, "abc本の題"},  // a cut never splits a double-byte character
        {"　", false, "　"},                  // a full-width blank is an ordinary character
    };
    int id = 1;
    for (const auto& c : cases) AddBook(id++, c.given);
    auto book = Table("Book");
    book->Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(book->FieldByName("syomei2").IsNull(), c.isNull);
        EXPECT_EQ(book->FieldByName("syomei2").AsString(), c.read);
        book->Next();
    }
    EXPECT_TRUE(book->Eof());
}

TEST_F(TableTest, NewRowsStartNullAndNullsReadAsZeroValues) {
    AddBook(1, "a", Value(true));
    auto book = Table("Book");
    book->Open();
    book->Append();
    EXPECT_TRUE(book->FieldByName("syomei2").IsNull());  // nothing copied from the current row
    EXPECT_TRUE(book->FieldByName("kashidashiF").IsNull());
    book->FieldByName("BOOK_ID").SetAsInteger(2);
    book->Post();
    EXPECT_EQ(book->FieldByName("syomei2").AsString(), "");
    EXPECT_FALSE(book->FieldByName("kashidashiF").AsBoolean());
    EXPECT_EQ(book->FieldByName("tourokubi").AsDateTime().msecs, 0);
    EXPECT_EQ(book->FieldByName("ISBN").AsInteger(), 0);
}

TEST_F(TableTest, KeySearchConvertsToTheKeyTypeAndHonoursTheFilter) {
    AddBook(123, "a", Value(true), "978400310101");
    AddBook(124, "b", Value(false), "978400310101");
    AddBook(125, "c", Value(), "978400310101");
    auto book = Table("BOOK");
    book->Open();
    EXPECT_TRUE(book->FindKey({Value("0000123")}));
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 123);
    EXPECT_FALSE(book->FindKey({Value(999)}));
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 123);  // unchanged on a miss

    // With "kashidashiF<>True" a copy not on loan is found though another copy is.
    book->SetIndexName("ISBN");
    book->SetFilter("kashidashiF<>True");
    book->SetFiltered(true);
    EXPECT_EQ(book->RecordCount(), 2);  // false and NULL pass, true does not
    ASSERT_TRUE(book->FindKey({Value("978400310101")}));
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 124);
    book->SetFilter("Book_ID=125");
    EXPECT_EQ(book->RecordCount(), 1);
    book->SetFilter("");
    book->SetFiltered(false);
    EXPECT_EQ(book->RecordCount(), 3);
}

TEST_F(TableTest, AFilterSetWhileClosedTakesEffectOnOpen) {
    AddBook(1, "a", Value(true));
    AddBook(2, "b");
    auto book = Table("Book");
    book->SetFilter("kashidashiF<>True");
    book->SetFiltered(true);
    book->Open();
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 2);
    book->Last();
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 2);
}

TEST_F(TableTest, WalksInIndexOrderAcrossManyWindows) {
    database->StartTransaction();
    for (int id = 3000; id > 0; --id) AddBook(id, "t");
    database->Commit(false);
    auto book = Table("Book");
    book->Open();
    int expected = 1, seen = 0;
    for (; !book->Eof(); book->Next(), ++expected, ++seen)
        ASSERT_EQ(book->FieldByName("BOOK_ID").AsInteger(), expected);
    EXPECT_EQ(seen, 3000);
    EXPECT_EQ(book->RecordCount(), 3000);
    book->Last();
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 3000);
    book->Prior();
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 2999);
}

TEST_F(TableTest, DataSetErrorsSpeakJapanese) {
    AddBook(1, "a");
    auto book = Table("Book");
    book->Open();
    EXPECT_THROW(
        {
            try {
                book->FieldByName("nothing");
            } catch (const DataSetError& e) {
                EXPECT_STREQ(e.what(), "項目 'nothing' が見つかりません");
                throw;
            }
        },
        DataSetError);
    book->Edit();
    try {
        book->FieldByName("BOOK_ID").SetAsString("12a");
        FAIL();
    } catch (const DataSetError& e) {
        EXPECT_STREQ(e.what(), "'12a' は項目 'BOOK_ID' に適した整数値ではありません");
    }
    EXPECT_THROW(book->FieldByName("tourokubi").SetAsString("2026/13/01"), DataSetError);
    book->FieldByName("tourokubi").SetAsString("2026/12/10");
    book->Post();
    EXPECT_EQ(book->FieldByName("tourokubi").AsString(), "2026/12/10");
}

TEST_F(TableTest, MissingTablesAndFoldersAreEngineErrors) {
    auto table = Table("nothing");
    try {
        table->Open();
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kTableMissing);
        EXPECT_STREQ(e.what(), "Table 'nothing' does not exist");
    }
    auto other = Table("Book", (folder / "missing").string());
    EXPECT_THROW(other->Open(), EngineError);
}

TEST_F(TableTest, AForeignFileInPlaceOfTheDatabaseIsAnEngineError) {
    database->Close();
    {
        std::FILE* f = std::fopen((folder / "kashidashi.db").c_str(), "wb");
        std::fputs("this is not a database file, but some text that is long enough", f);
        std::fclose(f);
    }
    try {
        Table("Book")->Open();
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kCorruptFile);
    }
}

TEST_F(TableTest, LookupFindsWithoutMovingAndPostFailureKeepsTheState) {
    AddBook(1, "a");
    AddBook(2, "b");
    auto book = Table("Book");
    book->Open();
    EXPECT_EQ(book->Lookup("BOOK_ID", {Value("2")}, "syomei2"), Value("b"));
    EXPECT_TRUE(book->Lookup("BOOK_ID", {Value(7)}, "syomei2").IsNull());
    EXPECT_EQ(book->FieldByName("BOOK_ID").AsInteger(), 1);

    book->Append();
    book->FieldByName("BOOK_ID").SetAsInteger(2);
    try {
        book->Post();
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), err::kDuplicateKey);
    }
    EXPECT_EQ(book->State(), DataSetState::dsInsert);
    book->Cancel();
    EXPECT_EQ(book->RecordCount(), 2);
}

}  // namespace
}  // namespace engine::testing
