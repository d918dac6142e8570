// TDBQuery beyond what the SQL scripts show: its parameter list, live and
// copied results, field names, errors that must say where, and statements
// of a size no application writes by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/common/error.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

class QueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kx_query_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        database_ = std::make_unique<TDBDatabase>("QUERYTEST", TDBSession::Default());
        database_->SetDirectory(folder_.string());
        Exec(
            "CREATE TABLE yoyaku (Book_ID INTEGER, yoyaku_No INTEGER, Name_ID CHARACTER(6), "
            "Memo CHARACTER(40), PRIMARY KEY (Book_ID, yoyaku_No));"
            "CREATE TABLE Book (BOOK_ID INTEGER, syomei2 CHARACTER(60), Memo CHARACTER(10), "
            "PRIMARY KEY (BOOK_ID));"
            "INSERT INTO yoyaku VALUES (101, 1, '000001', 'first'), (102, 1, '000002', '');"
            "INSERT INTO Book VALUES (101, '坊っちゃん', 'book memo')");
    }

    void TearDown() override {
        database_.reset();
        fs::remove_all(folder_);
    }

    void Prepare(TDBQuery& query, const std::string& text,
                 const std::string& database = "QUERYTEST") {
        query.SetDatabaseName(database);
        query.SQL().SetText(text);
    }

    int64_t Exec(const std::string& text) {
        TDBQuery query;
        Prepare(query, text);
        query.ExecSQL();
        return query.RowsAffected();
    }

    // The Book_IDs of yoyaku rows where `condition` holds, :PM set to `param`
    // when the condition has it.
    std::vector<int> BooksWhere(const std::string& condition, const char* param = nullptr) {
        TDBQuery query;
        Prepare(query, "Select Book_ID From yoyaku Where " + condition + " Order By Book_ID");
        if (param) query.ParamByName("PM").SetAsString(param);
        query.Open();
        std::vector<int> books;
        for (; !query.Eof(); query.Next())
            books.push_back(static_cast<int>(query.FieldByName("Book_ID").AsInteger()));
        return books;
    }

    std::string MemoOf(int bookId) {
        TDBQuery query;
        Prepare(query, "Select Memo From yoyaku Where Book_ID = :PM");
        query.ParamByName("PM").SetAsInteger(bookId);
        query.Open();
        return query.FieldByName("Memo").AsString();
    }

    fs::path folder_;
    std::unique_ptr<TDBDatabase> database_;
};

TEST_F(QueryTest, ReplacingTheTextRebuildsTheParametersKeepingValuesOfNamesThatStay) {
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Where Book_ID = :PM1 and Name_ID = :PM2");
    ASSERT_EQ(query.Params().Count(), 2);
    query.ParamByName("PM1").SetAsInteger(101);
    query.ParamByName("pm2").SetAsString("000001");

    query.SQL().SetText("Select * From yoyaku\n Where Name_ID = :PM2 and yoyaku_No = :PM3");
    ASSERT_EQ(query.Params().Count(), 2);
    EXPECT_EQ(query.Params().Items(0).Name(), "PM2");
    EXPECT_EQ(query.ParamByName("PM2").GetValue(), Value("000001"));
    EXPECT_FALSE(query.ParamByName("PM3").Bound());
    EXPECT_THROW(query.ParamByName("PM1"), DataSetError);

    // Line by line, as the windows build their statements.
    query.SQL().Clear();
    query.SQL().Add("Select * From yoyaku");
    query.SQL().Add(" where Book_ID=:PM1 or Memo = :PM1");
    ASSERT_EQ(query.Params().Count(), 1);
    query.ParamByName("PM1").SetAsInteger(102);
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
}

TEST_F(QueryTest, EditingALiveResultChangesTheTableRow) {
    TDBQuery query;
    query.RequestLive = true;
    Prepare(query, "Select Memo, Book_ID From yoyaku Where Book_ID = :PM");
    query.ParamByName("PM").SetAsInteger(101);
    query.Open();
    ASSERT_TRUE(query.IsLive());
    query.Edit();
    query.FieldByName("Memo").SetAsString("changed  ");
    query.Post();
    EXPECT_EQ(query.FieldByName("Memo").AsString(), "changed");
    EXPECT_EQ(MemoOf(101), "changed");

    // New rows and deletions reach the table as well.
    query.Append();
    query.FieldByName("Book_ID").SetAsInteger(103);
    query.Post();
    EXPECT_EQ(query.RecordCount(), 2);
    query.First();
    query.Delete();
    query.Close();
    TDBQuery check;
    Prepare(check, "Select Book_ID, yoyaku_No From yoyaku Order By Book_ID");
    check.Open();
    EXPECT_EQ(check.RecordCount(), 2);
    EXPECT_EQ(check.FieldByName("Book_ID").AsInteger(), 102);
    check.Last();
    EXPECT_TRUE(check.FieldByName("yoyaku_No").IsNull());
}

TEST_F(QueryTest, EditingAPrivateCopyChangesNothingStored) {
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Order By Book_ID");
    query.Open();
    ASSERT_FALSE(query.IsLive());
    query.Edit();
    query.FieldByName("Memo").SetAsString("typed in the grid");
    query.Post();
    query.Next();
    query.First();
    EXPECT_EQ(query.FieldByName("Memo").AsString(), "typed in the grid");
    EXPECT_EQ(MemoOf(101), "first");
}

TEST_F(QueryTest, RequestLiveOnAJoinGivesACopyWithoutError) {
    TDBQuery query;
    query.RequestLive = true;
    Prepare(query,
            "Select yoyaku.*, Book.syomei2 From yoyaku Left Join Book On yoyaku.Book_ID = "
            "Book.BOOK_ID");
    ASSERT_NO_THROW(query.Open());
    EXPECT_FALSE(query.IsLive());
    query.Edit();
    query.FieldByName("Memo").SetAsString("copy only");
    query.Post();
    EXPECT_EQ(MemoOf(101), "first");
}

TEST_F(QueryTest, TheFirstOfTwoSameNamedColumnsAnswersToTheName) {
    TDBQuery query;
    Prepare(query, "Select Book.*, yoyaku.* From Book, yoyaku Where yoyaku.Book_ID = Book.BOOK_ID");
    query.Open();
    EXPECT_EQ(query.FieldCount(), 7);
    EXPECT_EQ(query.FieldByName("memo").AsString(), "book memo");
    EXPECT_EQ(query.Fields(6).AsString(), "first");
}

TEST_F(QueryTest, ATextParameterWithQuotesIsOnlyAValue) {
    TDBQuery query;
    Prepare(query, "Delete From yoyaku Where Name_ID = :PM");
    query.ParamByName("PM").SetAsString("x' or '1'='1");
    query.ExecSQL();
    EXPECT_EQ(query.RowsAffected(), 0);
    query.ParamByName("PM").SetAsString("\"; DROP TABLE yoyaku; --");
    query.ExecSQL();
    EXPECT_EQ(Exec("Update yoyaku Set Memo = 'x'"), 2);
}

TEST_F(QueryTest, RowsAffectedCountsTheChangedRowsOfEveryStatement) {
    EXPECT_EQ(Exec("Update yoyaku Set Memo = 'a' Where Book_ID = 101; Delete From yoyaku Where "
                   "Book_ID = 102"),
              2);
    EXPECT_EQ(Exec("Update yoyaku Set Memo = 'a' Where Book_ID = 999"), 0);
}

TEST_F(QueryTest, MaxRowCountLimitsTheResult) {
    Exec("Insert Into yoyaku (Book_ID, yoyaku_No) Values (103, 1), (104, 1), (105, 1)");
    TDBQuery query;
    query.MaxRowCount = 2;
    Prepare(query, "Select * From yoyaku Order By Book_ID");
    query.Open();
    EXPECT_EQ(query.RecordCount(), 2);
    query.Close();
    query.MaxRowCount = -1;
    query.Open();
    EXPECT_EQ(query.RecordCount(), 5);
}

// A statement is all or nothing, also outside a transaction: an INSERT whose
// second row fails leaves the table as it was.
TEST_F(QueryTest, AnInsertWhoseSecondRowFailsAddsNothing) {
    const char* kInserts[] = {
        "Insert Into yoyaku Values (103, 1, '000003', 'new'), (101, 1, '000009', 'taken')",
        "Insert Into yoyaku Values (103, 1, '000003', 'new'), (103, 1, '000004', 'twice')",
    };
    for (const char* insert : kInserts) {
        try {
            Exec(insert);
            ADD_FAILURE() << insert;
        } catch (const EngineError& error) {
            EXPECT_EQ(error.code(), err::kDuplicateKey) << insert;
        }
        EXPECT_EQ(BooksWhere("Book_ID > 0"), (std::vector<int>{101, 102})) << insert;
    }
}

// A constant or parameter compares with a text column in its stored form:
// trailing blanks dropped, a text of blanks as NULL.
TEST_F(QueryTest, TextsCompareInTheirStoredForm) {
    const struct {
        std::string condition;
        const char* param;
        std::vector<int> books;
    } kCases[] = {
        {"Memo = 'first  '", nullptr, {101}}, {"'first  ' = Memo", nullptr, {101}},
        {"Memo = '   '", nullptr, {102}},     {"Memo <> 'first '", nullptr, {102}},
        {"Memo = :PM", "first  ", {101}},     {"Memo = :PM", "   ", {102}},
        {"Memo <> :PM", "   ", {101}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(BooksWhere(c.condition, c.param), c.books)
            << c.condition << " with '" << (c.param ? c.param : "") << "'";
}

// The SQL error a query raises on Open (or on ExecSQL with `exec`).
std::string SqlErrorOf(TDBQuery& query, bool exec = false) {
    try {
        exec ? query.ExecSQL() : query.Open();
    } catch (const EngineError& error) {
        EXPECT_EQ(error.code(), err::kSqlError) << error.what();
        return error.what();
    }
    return "no error";
}

TEST_F(QueryTest, ErrorsSayWhatAndWhere) {
    TDBQuery query;
    Prepare(query, "Select Book_ID\n  From yoyaku Where Nothing = 1");
    EXPECT_EQ(SqlErrorOf(query), "SQL error - unknown column 'Nothing' at line 2, column 21");
    Prepare(query, "Select * From yoyaku Where Book_ID = :PM1");
    EXPECT_EQ(SqlErrorOf(query),
              "SQL error - no value for the parameter 'PM1' at line 1, column 38");
    Prepare(query, "Update yoyaku Set Memo = 'x', Nothing = 1");
    EXPECT_EQ(
        SqlErrorOf(query, true)
            .rfind(
                "SQL error - unknown column 'Nothing' in the table 'yoyaku' at line 1, column 31",
                0),
        0u);
    Prepare(query, "Select * From yoyaku; Select * From Book");
    EXPECT_NE(SqlErrorOf(query).find("one statement"), std::string::npos);
    Prepare(query, "Delete From yoyaku Where Book_ID = 0");
    EXPECT_NE(SqlErrorOf(query).find("returns no rows"), std::string::npos);
}

TEST_F(QueryTest, AlterTableNeedsTheTableUnused) {
    TDBTable table;
    table.SetDatabaseName("QUERYTEST");
    table.SetTableName("yoyaku");
    table.Open();
    try {
        Exec("Alter Table yoyaku Add PathName3 Char(60), Add PathName4 Char(60)");
        ADD_FAILURE() << "ALTER TABLE ran while the table was open";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.code(), err::kTableLocked);
    }
    table.Close();
    table.Open();
    EXPECT_EQ(table.FieldCount(), 4);
    table.Close();
    Exec("Alter Table yoyaku Add PathName3 Char(60), Add PathName4 Char(60)");
    table.Open();
    EXPECT_EQ(table.FieldCount(), 6);
    EXPECT_TRUE(table.FieldByName("PathName4").IsNull());
}

TEST_F(QueryTest, ALiveResultHoldsItsTableOpenAndLocksTheEditedRow) {
    TDBQuery live;
    live.RequestLive = true;
    Prepare(live, "Select * From yoyaku");
    live.Open();
    EXPECT_THROW(Exec("Drop Table yoyaku"), EngineError);

    TDBSession other("QueryTestOther");
    other.LockRetryCount = 0;  // fail at the first refused try
    TDBDatabase otherDatabase("QUERYTEST", other);
    otherDatabase.SetDirectory(folder_.string());
    TDBQuery rival;
    rival.SetSessionName("QueryTestOther");
    rival.RequestLive = true;
    Prepare(rival, "Select * From yoyaku");
    rival.Open();
    live.Edit();
    try {
        rival.Edit();
        ADD_FAILURE() << "a row locked by another session was edited";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.code(), err::kRecordLocked);
    }
    live.Cancel();
    EXPECT_NO_THROW(rival.Edit());
}

TEST_F(QueryTest, RefreshRunsTheStatementAgain) {
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Order By Book_ID");
    query.Open();
    Exec("Insert Into yoyaku (Book_ID, yoyaku_No) Values (100, 1)");
    EXPECT_EQ(query.RecordCount(), 2);
    query.Refresh();
    EXPECT_EQ(query.RecordCount(), 3);
}

// "Book_ID = 0 or Book_ID = 1 or ..." with `count` terms.
std::string LongOr(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " or Book_ID = " : "Book_ID = ") + std::to_string(i);
    return text;
}

TEST_F(QueryTest, StatementsWithThousandsOfTermsRun) {
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Where " + LongOr(5000) + " Order By Book_ID");
    query.Open();
    EXPECT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(Exec("Delete From yoyaku Where Memo = 'none' and (" + LongOr(5000) + ")"), 0);
}

TEST_F(QueryTest, DeeplyParenthesisedConditionsRun) {
    std::string condition = "Book_ID = 101";
    for (int i = 0; i < 90; ++i)
        condition = "(" + condition + " and Book_ID > " + std::to_string(i) + ")";
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Where " + condition);
    query.Open();
    EXPECT_EQ(query.RecordCount(), 1);
}

// AND and OR nested in turn cannot be flattened; what the backend cannot
// take is an SQL error, never a crash.
TEST_F(QueryTest, AlternatingNestingRunsOrFailsAsAnSqlError) {
    std::string condition = "Book_ID = 101";
    for (int i = 0; i < 95; ++i)
        condition =
            "(Book_ID > " + std::to_string(i) + (i % 2 ? " and " : " or ") + condition + ")";
    TDBQuery query;
    Prepare(query, "Select * From yoyaku Where " + condition);
    try {
        query.Open();
        EXPECT_EQ(query.RecordCount(), 2);
    } catch (const EngineError& error) {
        EXPECT_EQ(error.code(), err::kSqlError) << error.what();
    }
}

}  // namespace
}  // namespace engine
