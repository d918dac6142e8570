// import-users and import-books: rows from CSV files in UTF-8 or Shift-JIS,
// all or nothing; a plan first, written with --apply.
#include <gtest/gtest.h>

#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "tools/admin_commands.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class ImportCommand : public BuiltToolFixture {
  protected:
    void SetUp() override {
        BuiltToolFixture::SetUp();
        if (Stopped()) return;
        InitFolder();
        // The class and the NDC code the fixtures' rows name.
        Sql("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU) Values (201, '2年1組');"
            "Insert Into NDC (NDC_ID, NDC) Values (9.13, '小説')");
    }
    // The command as built, with --apply.
    CommandRun Tool(const std::string& command, std::vector<std::string> args) {
        args.insert(args.begin(), command);
        args.push_back("--apply");
        return RunBuiltTool(args);
    }
    CommandRun ImportUsers(const std::string& file) {
        return Tool("import-users", {folder, Fixture(file)});
    }
    CommandRun ImportBooks(const std::string& file) {
        return Tool("import-books", {folder, Fixture(file)});
    }
};

TEST_F(ImportCommand, UsersFromUtf8) {
    auto run = ImportUsers("users_utf8.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "3件を取り込みました（新規 3件、更新 0件）\n");
    auto rows = Rows("Name");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["NAME"], "山田　花子");
    EXPECT_EQ(rows[0]["sex"], "2");
    EXPECT_EQ(rows[0]["syozoku_ID"], "201");
    EXPECT_EQ(rows[0]["mihenkyakuSU"], "0");  // a new user has nothing on loan
    EXPECT_EQ(rows[1]["NAME"], "鈴木　一郎");
    EXPECT_EQ(rows[2]["NAME"], "Smith, John");
    EXPECT_EQ(rows[2]["syozoku_ID"], "");
}

TEST_F(ImportCommand, UsersFromShiftJis) {
    auto run = ImportUsers("users_sjis.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    auto first = Row("Name", "NAME_ID", "300001");
    EXPECT_EQ(first["NAME"], "髙橋　ソウタ");
    EXPECT_EQ(first["seito_No"], "30101");
    EXPECT_EQ(first["Adress"], "東京都千代田区\n一番町1-1");
    EXPECT_EQ(Row("Name", "NAME_ID", "300002")["NAME"], "能登　ゆい");
}

TEST_F(ImportCommand, BooksFromUtf8WithByteOrderMark) {
    auto run = ImportBooks("books_utf8_bom.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    auto first = Row("Book", "BOOK_ID", "1");
    EXPECT_EQ(first["syomei2"], "はじめての図書館");
    EXPECT_EQ(first["ISBN"], "978481200001");  // 13 digits with hyphens, stored as 12
    EXPECT_EQ(first["tourokubi"], "2024/04/01");
    EXPECT_EQ(first["kakaku"], "1540");
    EXPECT_EQ(first["kintaiF"], "False");
    EXPECT_EQ(first["kashidashiF"], "False");  // a new book is not on loan
    EXPECT_EQ(first["NDC_ID"], "0");
    auto second = Row("Book", "BOOK_ID", "2");
    EXPECT_EQ(second["syomei2"], "本の \"ひみつ\"");
    EXPECT_EQ(second["ISBN"], "978490500017");
    EXPECT_EQ(second["tourokubi"], "2024/04/02");
    EXPECT_EQ(second["kintaiF"], "True");
    EXPECT_EQ(second["NDC_ID"], "9.13");
}

TEST_F(ImportCommand, AnExistingKeyUpdatesOnlyTheNamedColumns) {
    ASSERT_EQ(ImportUsers("users_utf8.csv").status, 0);
    auto run = ImportUsers("users_update.csv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2件を取り込みました（新規 1件、更新 1件）\n");
    auto updated = Row("Name", "NAME_ID", "200001");
    EXPECT_EQ(updated["sex"], "1");
    EXPECT_EQ(updated["NAME"], "山田　花子");
    EXPECT_EQ(updated["seito_No"], "20101");
    EXPECT_EQ(Rows("Name").size(), 4u);
}

// Each bad file: its reports, and the tables exactly as before.
TEST_F(ImportCommand, BadFilesChangeNothing) {
    ASSERT_EQ(ImportUsers("users_utf8.csv").status, 0);
    ASSERT_EQ(ImportBooks("books_utf8_bom.csv").status, 0);
    const auto users = Rows("Name");
    const auto books = Rows("Book");
    const struct {
        bool books;
        std::string file;
        std::vector<std::string> reports;
    } kCases[] = {
        {false, "bad_column.csv", {"1行目: 列「gakunen」は Name 表にありません"}},
        {false, "missing_key.csv", {"1行目: キーの列 NAME_ID がありません"}},
        {false, "duplicate_key.csv", {"4行目: NAME_ID「200001」は 2行目と重複しています"}},
        {false, "bad_integer.csv", {"3行目: 列 sex の「男」は整数ではありません"}},
        {false, "empty_key.csv", {"3行目: NAME_ID が空です"}},
        {false, "long_key.csv", {"3行目: 列 NAME_ID の「2000011」は長すぎます（6バイトまで）"}},
        {false,
         "wrong_field_count.csv",
         {"3行目: 列の数が見出しと合いません（見出し 3列、この行 2列）"}},
        {false, "open_quote.csv", {"3行目: 引用符（\"）が閉じていません"}},
        {true, "bad_date.csv", {"3行目: 列 tourokubi の「2024/13/45」は日付ではありません"}},
        {true,
         "bad_isbn.csv",
         {"2行目: 列 ISBN の「9784812000015」はチェックディジットが合いません",
          "3行目: 列 ISBN の「97848120」はISBNではありません"}},
        {true,
         "bad_book_id.csv",
         {"3行目: 列 BOOK_ID の「abc」は整数ではありません",
          "4行目: 列 BOOK_ID の「0」は使えません"}},
    };
    for (const auto& c : kCases) {
        auto run = c.books ? ImportBooks(c.file) : ImportUsers(c.file);
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
        for (const auto& report : c.reports)
            EXPECT_NE(run.err.find(report), std::string::npos) << c.file << "\n" << run.err;
        EXPECT_NE(run.err.find("取り込みを中止しました"), std::string::npos) << c.file;
        EXPECT_EQ(Rows("Name"), users) << c.file;
        EXPECT_EQ(Rows("Book"), books) << c.file;
    }
}

// A desk edits one of the users the file updates: the import meets its row
// lock midway, after all retries gives up, takes back the rows it already
// wrote and does not claim to have imported anything.
TEST_F(ImportCommand, ARowLockedByADeskMidwayChangesNothing) {
    ASSERT_EQ(ImportUsers("users_utf8.csv").status, 0);
    const auto users = Rows("Name");
    engine::TDBSession desk("IMPORT_DESK");
    engine::TDBDatabase data("AAA", desk);
    data.SetDirectory(folder);
    engine::TDBTable names;
    names.SetSessionName("IMPORT_DESK");
    names.SetDatabaseName("AAA");
    names.SetTableName("Name");
    names.Open();
    ASSERT_TRUE(names.FindKey({engine::Value("200002")}));
    names.Edit();  // holds the row lock of 200002

    auto run = Tool("import-users", {folder, WriteScratch("update.csv",
                                                          "NAME_ID,sex\r\n200001,1\r\n200002,2\r\n"
                                                          "200009,2\r\n")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("ほかの机がこのデータを使っています。"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("（エラー番号 10258: Name）"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("取り込みを取り消しました"), std::string::npos) << run.err;
    names.Cancel();
    EXPECT_EQ(Rows("Name"), users);
}

TEST_F(ImportCommand, MissingFileTableOrFolder) {
    auto noFile = Tool("import-users", {folder, Fixture("no_such_file.csv")});
    EXPECT_EQ(noFile.status, 1);
    EXPECT_NE(noFile.err.find("no_such_file.csv"), std::string::npos);

    std::filesystem::create_directories(scratch / "empty");
    auto noTable =
        Tool("import-books", {(scratch / "empty").string(), Fixture("books_utf8_bom.csv")});
    EXPECT_EQ(noTable.status, 1);
    EXPECT_NE(noTable.err.find("Book 表がありません"), std::string::npos) << noTable.err;

    auto usage = RunBuiltTool({"import-books", folder});
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("import-books FOLDER FILE.csv"), std::string::npos);
}

TEST_F(ImportCommand, AFileWithOnlyAHeaderImportsNothing) {
    auto run = Tool("import-users", {folder, WriteScratch("header.csv", "NAME_ID,NAME\r\n")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0件を取り込みました（新規 0件、更新 0件）\n");
    auto empty = Tool("import-users", {folder, WriteScratch("empty.csv", "")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("1行目: 見出しの行がありません"), std::string::npos) << empty.err;
}

// The desk finds a user by the pupil number and a class by its code: an
// import that would give two users one pupil number, or a user a class the
// school lacks, or a book a place or NDC class its lists lack, is refused
// with the line, and nothing is written.
TEST_F(ImportCommand, ClashesWithTheDataAreRefused) {
    ASSERT_EQ(ImportUsers("users_utf8.csv").status, 0);
    const auto users = Rows("Name");
    const auto books = Rows("Book");
    const struct {
        const char* command;
        const char* csv;
        std::vector<std::string> reports;
    } kCases[] = {
        {"import-users",
         "NAME_ID,seito_No,NAME\r\n200010,30101,森　陸\r\n200011,30101,林　杏\r\n",
         {"3行目: 生徒番号 30101 は 2行目と重複しています"}},
        {"import-users",
         "NAME_ID,seito_No,NAME\r\n200010,20101,森　陸\r\n",
         {"2行目: 生徒番号 20101 は 山田　花子 さん（固定番号 200001）が使っています"}},
        {"import-users",
         "NAME_ID,NAME,syozoku_ID\r\n200010,森　陸,201\r\n200011,林　杏,999\r\n",
         {"3行目: 所属コード 999 は SYOZOKU 表にありません"}},
        {"import-books",
         "BOOK_ID,syomei2,HKN_ID,NDC_ID\r\n10,本,5,0\r\n11,本,,4.5\r\n12,本,0,9.13\r\n",
         {"2行目: 保管場所のコード 5 は HKN 表にありません",
          "3行目: 分類（NDC）のコード 4.5 は NDC 表にありません"}},
    };
    for (const auto& c : kCases) {
        auto run = Tool(c.command, {folder, WriteScratch("clash.csv", c.csv)});
        EXPECT_EQ(run.status, 1) << c.csv;
        for (const auto& report : c.reports)
            EXPECT_NE(run.err.find(report), std::string::npos) << c.csv << "\n" << run.err;
        EXPECT_NE(run.err.find("取り込みを中止しました"), std::string::npos) << run.err;
        EXPECT_EQ(Rows("Name"), users) << c.csv;
        EXPECT_EQ(Rows("Book"), books) << c.csv;
    }
    // Two users trading their pupil numbers in one file clash with no one.
    auto swap = Tool("import-users", {folder, WriteScratch("swap.csv",
                                                           "NAME_ID,seito_No\r\n200001,20102\r\n"
                                                           "200002,20101\r\n")});
    EXPECT_EQ(swap.status, 0) << swap.err;
    EXPECT_EQ(Row("Name", "NAME_ID", "200002")["seito_No"], "20101");
}

// Without --apply the command says what it would do and writes nothing.
TEST_F(ImportCommand, WithoutApplyOnlyThePlan) {
    ASSERT_EQ(ImportUsers("users_utf8.csv").status, 0);
    const auto users = Rows("Name");
    auto run = RunBuiltTool({"import-users", folder, Fixture("users_update.csv")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2件を取り込みます（新規 1件、更新 1件）\n");
    EXPECT_NE(run.err.find("--apply で取り込みます"), std::string::npos) << run.err;
    EXPECT_EQ(Rows("Name"), users);
}

}  // namespace
}  // namespace tools_test
