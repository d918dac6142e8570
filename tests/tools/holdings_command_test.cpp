// The catalogue and roll from the command line: export-users and
// export-books write what the imports read back, users and books change
// one row by the window's rules, forget-leavers empties old borrowers.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class HoldingsCommand : public BuiltToolFixture {
  protected:
    CommandRun Admin(const std::vector<std::string>& args) { return RunBuiltTool(args); }
    void OneAtATime();
};

// The demo school out and into an empty folder: every user and book comes
// back as it was, in Shift-JIS (the text of a title with "," and quotes too).
TEST_F(HoldingsCommand, ExportsReadBackByTheImports) {
    MakeDemoSchool();
    Sql("Update Book Set syomei2='本の \"ひみつ\", 続き' Where BOOK_ID=3");
    const std::string users = (scratch / "users.csv").string();
    const std::string books = (scratch / "books.csv").string();
    ASSERT_EQ(Admin({"export-users", folder, users}).status, 0);
    ASSERT_EQ(Admin({"export-books", folder, books}).status, 0);
    const auto nameRows = Rows("Name");
    const auto bookRows = Rows("Book");

    // A second school with the same code lists, the exports imported there.
    std::map<std::string, std::vector<std::map<std::string, std::string>>> lists;
    for (const char* table : {"SYOZOKU", "HKN", "NDC", "ZAIGEN", "UKEIRE"})
        lists[table] = Rows(table);
    folder = (scratch / "second").string();
    std::filesystem::create_directories(folder);
    InitFolder();
    std::string inserts;
    for (const auto& [table, rows] : lists)
        for (const auto& row : rows)
            inserts += "Insert Into " + table + " (" + table + "_ID, " + table + ") Values (" +
                       row.at(table + "_ID") + ", '" + row.at(table) + "');";
    Sql(inserts);
    auto importUsers = Admin({"import-users", folder, users, "--apply"});
    ASSERT_EQ(importUsers.status, 0) << importUsers.err;
    auto importBooks = Admin({"import-books", folder, books, "--apply"});
    ASSERT_EQ(importBooks.status, 0) << importBooks.err;

    auto keep = [](std::vector<std::map<std::string, std::string>> rows,
                   const std::vector<std::string>& dropped) {
        for (auto& row : rows)
            for (const auto& column : dropped) row.erase(column);
        return rows;
    };
    // A desk's counts and flags are the desk's: a new row starts clear.
    const std::vector<std::string> userState{"mihenkyakuSU"};
    const std::vector<std::string> bookState{"kashidashiF", "yoyakuF", "tenkenF",  "haikiF",
                                             "haiki_date",  "sakujoF", "yobi2_ID", "yobi3_ID",
                                             "yobi4_ID",    "yobi5_ID"};
    EXPECT_EQ(keep(Rows("Name"), userState), keep(nameRows, userState));
    EXPECT_EQ(keep(Rows("Book"), bookState), keep(bookRows, bookState));
    EXPECT_EQ(Row("Book", "BOOK_ID", "3")["syomei2"], "本の \"ひみつ\", 続き");
}

// A user added, refused twice, edited, marked as left; a book discarded and
// restored: on the demo school of `folder`.
void HoldingsCommand::OneAtATime() {
    auto added = Admin(
        {"users", folder, "add", "--name", "新井　陽", "--pupil", "１０９９９", "--class", "101"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.out.find("利用者を追加しました"), std::string::npos) << added.out;
    const size_t before = Rows("Name").size();
    const std::string id = added.out.substr(added.out.find("固定番号 ") + 13, 6);
    ASSERT_EQ(Row("Name", "NAME_ID", id)["seito_No"], "10999") << added.out;
    EXPECT_EQ(Row("Name", "NAME_ID", id)["mihenkyakuSU"], "0");

    // The same pupil number for someone else: refused, nothing changed.
    auto twice = Admin({"users", folder, "add", "--name", "別人", "--pupil", "10999"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("生徒番号 10999 は 新井　陽 さん"), std::string::npos) << twice.err;
    EXPECT_EQ(Rows("Name").size(), before);

    auto edited = Admin({"users", folder, "edit", id, "--name", "新井　陽太"});
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(Row("Name", "NAME_ID", id)["NAME"], "新井　陽太");
    auto left = Admin({"users", folder, "leave", id, "--date", "2026/07/20"});
    ASSERT_EQ(left.status, 0) << left.err;
    EXPECT_EQ(Row("Name", "NAME_ID", id)["seito_No"], "");

    auto discard = Admin({"books", folder, "discard", "5", "--reason", "破損"});
    ASSERT_EQ(discard.status, 0) << discard.err;
    EXPECT_EQ(Row("Book", "BOOK_ID", "5")["haikiF"], "True");
    EXPECT_EQ(Admin({"books", folder, "discard", "5"}).status, 1);  // already discarded
    ASSERT_EQ(Admin({"books", folder, "restore", "5"}).status, 0);
    EXPECT_EQ(Row("Book", "BOOK_ID", "5")["haikiF"], "False");
    EXPECT_EQ(Admin({"books", folder, "throw", "5"}).status, 2);
}

TEST_F(HoldingsCommand, UsersAndBooksOneAtATime) {
    MakeDemoSchool();
    OneAtATime();
}

TEST_F(HoldingsCommand, UsersAndBooksOneAtATimeOnAServer) {
    UseServer();
    if (Stopped()) return;
    MakeDemoSchool();
    OneAtATime();
}

}  // namespace
}  // namespace tools_test
