// The lending statistics against counts made here, independently, from a
// generated school: random loans over a school year and the weeks around it,
// users in classes, on the staff, without a class and gone from Name, books
// with and without classification and ISBN (copies sharing one).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "engine/common/dates.h"
#include "library/sql_rows.h"
#include "library/stats.h"
#include "library/year_fixture.h"

namespace library_test {
namespace {

using namespace kashidashi::library;

struct Loan {
    int year, month, day;
    int book;
    std::string user;
};

struct Generated {
    std::map<std::string, std::optional<int>> users;  // NAME_ID -> class
    std::map<int, double> ndc;                        // BOOK_ID -> NDC_ID (0: none)
    std::map<int, std::string> isbn;                  // BOOK_ID -> ISBN ("" none)
    std::vector<Loan> loans;
};

const std::map<int, std::string> kClasses = {{101, "1年1組"}, {102, "1年2組"}, {201, "2年1組"},
                                             {301, "3年1組"}, {50, "特別"},    {900, "職員"}};

Generated Generate() {
    std::mt19937 random(20250401);
    Generated g;
    std::vector<int> codes;
    for (const auto& [code, name] : kClasses) codes.push_back(code);
    for (int i = 1; i <= 80; ++i) {
        std::optional<int> code;
        if (i % 17 != 0) code = codes[random() % codes.size()];
        g.users[std::to_string(100000 + i)] = code;
    }
    const double ndcs[] = {0, 7, 913.6, 480, 210.5, 99.9, 0, 726.1, 302, 999.99, 150};
    for (int book = 1; book <= 300; ++book) {
        g.ndc[book] = ndcs[random() % std::size(ndcs)];
        g.isbn[book] = book % 5 == 0 ? "" : "978400" + std::to_string(100000 + book % 40);
    }
    for (int i = 0; i < 3000; ++i) {
        int month = 1 + random() % 12, year = month >= 3 ? 2024 : 2025, day = 1 + random() % 28;
        if (i % 50 == 0) year = month >= 4 ? 2025 : 2024;  // some outside the year
        std::string user = i % 97 == 0 ? "199999" : std::to_string(100001 + random() % 80);
        g.loans.push_back({year, month, day, 1 + static_cast<int>(random() % 310), user});
    }
    return g;
}

class StatsTest : public YearFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        data = DriveFolder("C:\\Book\\");
        MakeDataFolder(data);
        connection = std::make_unique<PlaceConnection>(DataPlace::Folder(data));
        g = Generate();
        Store();
    }
    void Insert(const std::string& head, const std::vector<std::string>& rows) {
        for (size_t i = 0; i < rows.size(); i += 200) {
            std::string text = head + " Values ";
            for (size_t j = i; j < rows.size() && j < i + 200; ++j)
                text += (j > i ? ", " : "") + rows[j];
            ExecuteRows(Connection(), text);
        }
    }
    void Store() {
        std::vector<std::string> rows;
        for (const auto& [code, name] : kClasses)
            rows.push_back("(" + std::to_string(code) + ", '" + name + "')");
        Insert("Insert Into SYOZOKU (SYOZOKU_ID, SYOZOKU)", rows);
        rows.clear();
        for (const auto& [id, code] : g.users)
            rows.push_back("('" + id + "', '" + id.substr(1) + "', " +
                           (code ? std::to_string(*code) : "NULL") + ")");
        Insert("Insert Into Name (NAME_ID, seito_No, syozoku_ID)", rows);
        rows.clear();
        for (const auto& [book, ndc] : g.ndc)
            rows.push_back("(" + std::to_string(book) + ", '題名" + std::to_string(book % 40) +
                           "', " + (ndc ? std::to_string(ndc) : "NULL") + ", " +
                           (g.isbn[book].empty() ? "NULL" : "'" + g.isbn[book] + "'") + ")");
        Insert("Insert Into Book (BOOK_ID, syomei2, NDC_ID, ISBN)", rows);
        rows.clear();
        char date[16];
        for (const auto& loan : g.loans) {
            std::snprintf(date, sizeof date, "%04d/%02d/%02d", loan.year, loan.month, loan.day);
            rows.push_back("(" + std::to_string(loan.book) + ", '" + loan.user + "', '" + date +
                           "')");
        }
        Insert("Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi)", rows);
    }
    bool InYear(const Loan& loan) const {
        return (loan.year == 2024 && loan.month >= 4) || (loan.year == 2025 && loan.month <= 3);
    }
    std::optional<int> ClassOf(const std::string& user) const {
        auto it = g.users.find(user);
        return it == g.users.end() ? std::nullopt : it->second;
    }
    std::map<std::string, int64_t> Counted(StatsView view) {
        auto [from, to] = SchoolYear(2024);
        std::map<std::string, int64_t> counts;
        for (const auto& row : CountLoans(Connection(), from, to, view).rows)
            counts[row.key] = row.count;
        return counts;
    }
    Generated g;
};

TEST_F(StatsTest, PerMonthOfTheSchoolYear) {
    std::map<std::string, int64_t> expected;
    for (int m = 0; m < 12; ++m) {
        char key[16];
        std::snprintf(key, sizeof key, "%04d/%02d", m < 9 ? 2024 : 2025, (m + 3) % 12 + 1);
        expected[key] = 0;
    }
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        char key[16];
        std::snprintf(key, sizeof key, "%04d/%02d", loan.year, loan.month);
        ++expected[key];
    }
    EXPECT_EQ(Counted(StatsView::Month), expected);
    auto [from, to] = SchoolYear(2024);
    auto rows = CountLoans(Connection(), from, to, StatsView::Month).rows;
    EXPECT_EQ(rows.front().key, "2024/04");
    EXPECT_EQ(rows.back().key, "2025/03");
}

TEST_F(StatsTest, PerClassAndPerGradeWithStaffApart) {
    std::map<std::string, int64_t> classes, grades;
    for (const auto& [code, name] : kClasses) classes[name] = 0;
    for (const char* key : {"1年", "2年", "3年", "職員"}) grades[key] = 0;
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        auto code = ClassOf(loan.user);
        ++classes[code ? kClasses.at(*code) : "所属なし"];
        if (!code || *code == 50)
            ++grades["所属なし"];
        else if (*code == 900)
            ++grades["職員"];
        else
            ++grades[std::to_string(*code / 100) + "年"];
    }
    EXPECT_EQ(Counted(StatsView::Class), classes);
    EXPECT_EQ(Counted(StatsView::Grade), grades);
}

TEST_F(StatsTest, PerNdcClassWithBooksWithoutOneApart) {
    const char* names[] = {"総記", "哲学", "歴史", "社会科学", "自然科学",
                           "技術", "産業", "芸術", "言語",     "文学"};
    std::map<std::string, int64_t> expected;
    for (int i = 0; i < 10; ++i) expected[std::to_string(i) + " " + names[i]] = 0;
    expected["分類なし"] = 0;
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        auto it = g.ndc.find(loan.book);  // books 301 to 310 are not in Book
        if (it == g.ndc.end() || it->second == 0)
            ++expected["分類なし"];
        else
            ++expected[std::to_string(int(it->second) / 100) + " " + names[int(it->second) / 100]];
    }
    EXPECT_EQ(Counted(StatsView::Ndc), expected);
}

TEST_F(StatsTest, TheTwentyMostBorrowedTitlesCountCopiesTogether) {
    std::map<std::string, int64_t> per;  // ISBN or book number
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        auto it = g.isbn.find(loan.book);
        char number[32];
        std::snprintf(number, sizeof number, "図書番号 %07d", loan.book);
        ++per[it != g.isbn.end() && !it->second.empty() ? it->second : number];
    }
    std::vector<int64_t> expected;
    for (const auto& [key, count] : per) expected.push_back(count);
    std::sort(expected.rbegin(), expected.rend());
    expected.resize(20);
    auto [from, to] = SchoolYear(2024);
    auto rows = CountLoans(Connection(), from, to, StatsView::Title).rows;
    ASSERT_EQ(rows.size(), 20u);
    std::vector<int64_t> counted;
    for (const auto& row : rows) {
        counted.push_back(row.count);
        EXPECT_EQ(row.count, per[row.isbn]) << row.isbn;
    }
    EXPECT_EQ(counted, expected);
}

TEST_F(StatsTest, UsersWhoBorrowedAgainstUsersOfEachClass) {
    std::map<std::string, std::pair<int64_t, int64_t>> expected;
    std::map<std::string, std::set<std::string>> borrowers;
    for (const auto& [id, code] : g.users)
        ++expected[code ? kClasses.at(*code) : "所属なし"].second;
    for (const auto& loan : g.loans)
        if (InYear(loan) && g.users.count(loan.user)) {
            auto code = ClassOf(loan.user);
            borrowers[code ? kClasses.at(*code) : "所属なし"].insert(loan.user);
        }
    for (auto& [key, counts] : expected) counts.first = static_cast<int64_t>(borrowers[key].size());
    auto [from, to] = SchoolYear(2024);
    std::map<std::string, std::pair<int64_t, int64_t>> counted;
    for (const auto& row : CountLoans(Connection(), from, to, StatsView::Users).rows)
        counted[row.key] = {row.count, row.users};
    EXPECT_EQ(counted, expected);
}

TEST_F(StatsTest, ARangeOfDaysCountsBothEnds) {
    int64_t expected = 0;
    for (const auto& loan : g.loans)
        expected += loan.year == 2024 && loan.month == 6 && loan.day >= 10 && loan.day <= 20;
    auto table = CountLoans(Connection(), engine::MakeDate(2024, 6, 10),
                            engine::MakeDate(2024, 6, 20), StatsView::Month);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].count, expected);
    EXPECT_EQ(table.loans, expected);
}

}  // namespace
}  // namespace library_test
