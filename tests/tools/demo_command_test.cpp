// demo FOLDER: a small school that the desk can work with at once.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "data/isbn.h"
#include "engine/common/dates.h"
#include "engine/common/value_convert.h"
#include "tools/admin_commands.h"
#include "tools/data_folder.h"
#include "tools/demo_school.h"
#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

using kashidashi::admin::CommandDemo;

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

class DemoCommand : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        auto run = Run(CommandDemo, {folder});
        ASSERT_EQ(run.status, 0) << run.err;
    }
};

TEST_F(DemoCommand, RowCountsOfEveryTable) {
    const std::map<std::string, size_t> kCounts = {
        {"Name", 65},  {"Book", 400}, {"SYOZOKU", 13}, {"NDC", 100},   {"HKN", 4},
        {"ZAIGEN", 3}, {"UKEIRE", 3}, {"Reg", 2},      {"kashibo", 0}, {"yoyaku", 0}};
    for (const auto& [table, count] : kCounts) EXPECT_EQ(Rows(table).size(), count) << table;
}

TEST_F(DemoCommand, SettingsRows) {
    auto newBooks = Row("Reg", "ID", "2");
    EXPECT_EQ(newBooks["N1"], "7");
    EXPECT_EQ(newBooks["N2"], "0");
    EXPECT_EQ(Row("Reg", "ID", "10")["N1"], "4");
}

TEST_F(DemoCommand, UsersHaveNumbersClassesAndNoLoans) {
    std::set<std::string> classes, pupilNumbers;
    for (auto& row : Rows("SYOZOKU")) classes.insert(row["SYOZOKU_ID"]);
    int staff = 0;
    for (auto& user : Rows("Name")) {
        EXPECT_TRUE(AllDigits(user["NAME_ID"]) && user["NAME_ID"].size() == 6) << user["NAME_ID"];
        EXPECT_TRUE(AllDigits(user["seito_No"]) && user["seito_No"].size() == 5)
            << user["seito_No"];
        EXPECT_TRUE(pupilNumbers.insert(user["seito_No"]).second) << user["seito_No"];
        EXPECT_TRUE(classes.count(user["syozoku_ID"])) << user["syozoku_ID"];
        EXPECT_EQ(user["mihenkyakuSU"], "0");
        EXPECT_FALSE(user["NAME"].empty());
        staff += user["syozoku_ID"] == "900";
    }
    EXPECT_EQ(staff, 5);
    EXPECT_EQ(Row("Name", "seito_No", "10101")["syozoku_ID"], "101");
}

TEST_F(DemoCommand, BooksHaveValidIsbnsCodesAndFlags) {
    std::set<std::string> ndc, places;
    for (auto& row : Rows("NDC")) ndc.insert(row["NDC_ID"]);
    for (auto& row : Rows("HKN")) places.insert(row["HKN_ID"]);
    std::map<std::string, int> copies, mains;
    int notLent = 0, discarded = 0, recent = 0, id = 0;
    const int today = engine::Today().days;
    for (auto& book : Rows("Book")) {
        EXPECT_EQ(book["BOOK_ID"], std::to_string(++id));
        const auto& isbn = book["ISBN"];
        EXPECT_TRUE(AllDigits(isbn) && isbn.size() == 12 && isbn.starts_with("9784")) << isbn;
        EXPECT_EQ(kashidashi::IsbnWithCheckDigit(isbn).size(), 13u) << isbn;
        ++copies[isbn];
        EXPECT_TRUE(ndc.count(book["NDC_ID"])) << book["NDC_ID"];
        ++mains[book["yobi1_ID"]];
        // As quick registration writes them: the division and its main class.
        const int division = std::stoi(book["NDC_ID"]), main = std::stoi(book["yobi1_ID"]);
        EXPECT_EQ(division % 10, 0) << book["NDC_ID"];
        if (main == 11 || main == 12)
            EXPECT_EQ(division, main == 11 ? 910 : 930);
        else
            EXPECT_EQ(division / 100, main) << book["NDC_ID"];
        EXPECT_TRUE(places.count(book["HKN_ID"])) << book["HKN_ID"];
        EXPECT_EQ(book["kashidashiF"], "False");
        EXPECT_EQ(book["yoyakuF"], "False");
        EXPECT_FALSE(book["syomei2"].empty());
        notLent += book["kintaiF"] == "True";
        discarded += book["haikiF"] == "True";
        recent += today - engine::ParseDate(book["tourokubi"])->days <= 7;
    }
    std::map<int, int> titlesByCopies;
    for (const auto& [isbn, count] : copies) ++titlesByCopies[count];
    EXPECT_EQ(titlesByCopies, (std::map<int, int>{{1, 330}, {2, 20}, {3, 10}}));
    EXPECT_GT(notLent, 0);
    EXPECT_LT(notLent, 20);
    EXPECT_GT(discarded, 0);
    EXPECT_LT(discarded, 20);
    EXPECT_GT(recent, 0);
    EXPECT_EQ(mains.size(), 12u) << "0 to 9, 11 picture books and 12 foreign books";
}

TEST_F(DemoCommand, RefusesAFolderThatHasDataTables) {
    auto again = Run(CommandDemo, {folder});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(Rows("Name").size(), 65u);
}

// Every text fits its column and survives CP932 as it is: nothing is cut or
// turned into "?" on the way in.
TEST(DemoSchool, TextsAreStoredAsTheyStandAndTheSchoolIsTheSameEachRun) {
    const engine::Date today = engine::MakeDate(2025, 4, 8);
    auto school = kashidashi::admin::DemoSchool(today);
    const std::map<std::string, int> kSizes = {
        {"NAME", 20},       {"seito_No", 5}, {"NAME_ID", 6}, {"syomei2", 60}, {"cyosya1", 30},
        {"syuppansya", 30}, {"seikyu", 14},  {"key2", 30},   {"SYOZOKU", 20}, {"NDC", 24},
        {"HKN", 24},        {"ZAIGEN", 20},  {"UKEIRE", 20}, {"ISBN", 15},    {"ookisa", 15}};
    for (const auto& table : school) {
        for (const auto& row : table.rows) {
            for (const auto& [column, value] : row) {
                auto size = kSizes.find(column);
                if (size == kSizes.end()) continue;
                EXPECT_EQ(engine::StoredText(value.Text(), size->second), value)
                    << table.name << "." << column << " " << value.Text();
            }
        }
    }
    auto again = kashidashi::admin::DemoSchool(today);
    ASSERT_EQ(again.size(), school.size());
    for (size_t i = 0; i < school.size(); ++i) EXPECT_EQ(again[i].rows, school[i].rows);
}

}  // namespace
}  // namespace tools_test

namespace tools_test {
namespace {

// demo FOLDER with sizes: a school of that size whose flags and counts agree
// with its loans, the same on every run of one seed.
class SizedDemoCommand : public BuiltToolFixture {
  protected:
    const std::vector<std::string> kSizes = {"--books", "3000",  "--users",        "400",
                                             "--loans", "12000", "--reservations", "60",
                                             "--seed",  "7"};

    void MakeSchool() {
        std::vector<std::string> args = {"demo", folder};
        args.insert(args.end(), kSizes.begin(), kSizes.end());
        auto run = RunBuiltTool(args, "demo");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("書き込み中: kashibo 12000/12000"), std::string::npos) << run.err;
    }

    void ExpectCheckClean() {
        auto check = RunBuiltTool({"check", folder}, "check");
        EXPECT_EQ(check.status, 0) << check.out << check.err;
    }

    std::map<std::string, std::vector<std::map<std::string, std::string>>> Dump() {
        std::map<std::string, std::vector<std::map<std::string, std::string>>> dump;
        for (const char* table : {"SYOZOKU", "Name", "Book", "kashibo", "yoyaku", "Reg"})
            dump[table] = Rows(table);
        return dump;
    }
};

TEST_F(SizedDemoCommand, ClassesOfAbout35SomeOverdueAndACleanCheck) {
    if (Stopped()) return;
    MakeSchool();
    EXPECT_EQ(Rows("Book").size(), 3000u);
    EXPECT_EQ(Rows("Name").size(), 400u);
    EXPECT_EQ(Rows("kashibo").size(), 12000u);
    EXPECT_EQ(Rows("yoyaku").size(), 60u);
    std::map<std::string, int> pupilsByClass;
    for (auto& user : Rows("Name"))
        if (user["syozoku_ID"] != "900") ++pupilsByClass[user["syozoku_ID"]];
    for (const auto& [group, pupils] : pupilsByClass) {
        EXPECT_GE(pupils, 30) << group;
        EXPECT_LE(pupils, 40) << group;
    }
    int open = 0, overdue = 0;
    const int today = engine::Today().days;
    for (auto& loan : Rows("kashibo")) {
        if (loan["kashidashiF"] != "1") continue;
        ++open;
        overdue += engine::ParseDate(loan["henkyakuyotei"])->days < today;
    }
    EXPECT_GT(overdue, 0);
    EXPECT_GT(open, overdue);
    int reserved = 0;
    for (auto& book : Rows("Book")) reserved += book["yoyakuF"] == "True";
    EXPECT_GT(reserved, 0);
    EXPECT_LT(reserved, 60);  // queued: several on one title
    ExpectCheckClean();
    // The statistics spread over the main classes and the grades.
    const std::string to = engine::FormatDate(engine::Today());
    auto ndc = RunBuiltTool({"stats", folder, "--from", "2000/01/01", "--to", to, "--by", "ndc"});
    ASSERT_EQ(ndc.status, 0) << ndc.err;
    for (const char* row : {"\n0 総記\t", "\n4 自然科学\t", "\n9 文学\t", "\n絵本\t", "\n洋書\t"}) {
        const size_t at = ndc.out.find(row);
        ASSERT_NE(at, std::string::npos) << ndc.out;
        EXPECT_NE(ndc.out.substr(at + std::string(row).size(), 2), "0\n") << row << ndc.out;
    }
    auto grades =
        RunBuiltTool({"stats", folder, "--from", "2000/01/01", "--to", to, "--by", "grade"});
    ASSERT_EQ(grades.status, 0) << grades.err;
    EXPECT_EQ(grades.out.find("10年"), std::string::npos) << grades.out;
    for (const char* grade : {"\n1年\t", "\n6年\t"})
        EXPECT_NE(grades.out.find(grade), std::string::npos) << grades.out;
}

TEST_F(SizedDemoCommand, OneSeedOneSchool) {
    if (Stopped()) return;
    MakeSchool();
    const auto first = Dump();
    folder = (scratch / "again").string();
    std::filesystem::create_directories(folder);
    MakeSchool();
    EXPECT_TRUE(first == Dump());
}

TEST_F(SizedDemoCommand, OnAServer) {
    if (Stopped()) return;
    UseServer();
    if (Stopped()) return;
    MakeSchool();
    EXPECT_EQ(Rows("kashibo").size(), 12000u);
    ExpectCheckClean();
}

TEST_F(SizedDemoCommand, WrongSizesAreWrongUse) {
    if (Stopped()) return;
    for (const char* size : {"-5", "many", ""}) {
        auto run = RunBuiltTool({"demo", folder, "--books", size}, "wrong");
        EXPECT_EQ(run.status, 2) << size;
    }
    auto tooFew = RunBuiltTool({"demo", folder, "--users", "1"}, "few");
    EXPECT_EQ(tooFew.status, 1);
}

}  // namespace
}  // namespace tools_test
