// The lending statistics against counts made here, independently, from a
// generated school: random loans over a school year and the weeks around it,
// users in classes, on the staff, without a class and gone from Name, books
// with and without classification and ISBN (copies sharing one), the main
// class beside the division as quick registration writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/sql_rows.h"
#include "library/stats/stats.h"
#include "library/stats/stats_save.h"
#include "library/year_fixture.h"
#include "platform/cp932.h"

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
    std::map<int, std::optional<int>> main;           // BOOK_ID -> yobi1_ID
    std::map<int, std::string> isbn;                  // BOOK_ID -> ISBN ("" none)
    std::vector<Loan> loans;
};

const std::map<int, std::string> kClasses = {{101, "1年1組"}, {102, "1年2組"}, {201, "2年1組"},
                                             {301, "3年1組"}, {50, "特別"},    {900, "職員"},
                                             {4001, "4-1"}};
constexpr int kUnknownClass = 777;  // a code SYOZOKU lacks

Generated Generate() {
    std::mt19937 random(20250401);
    Generated g;
    std::vector<int> codes;
    for (const auto& [code, name] : kClasses) codes.push_back(code);
    for (int i = 1; i <= 80; ++i) {
        std::optional<int> code;
        if (i % 17 != 0) code = codes[random() % codes.size()];
        if (i % 19 == 0) code = kUnknownClass;
        g.users[std::to_string(100000 + i)] = code;
    }
    const double ndcs[] = {0, 7, 913.6, 480, 210.5, 99.9, 0, 726.1, 302, 999.99, 150};
    const std::optional<int> mains[] = {std::nullopt, 0, 4, 9, 11, 12};
    for (int book = 1; book <= 300; ++book) {
        g.ndc[book] = ndcs[random() % std::size(ndcs)];
        g.main[book] = mains[random() % std::size(mains)];
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
                           (g.isbn[book].empty() ? "NULL" : "'" + g.isbn[book] + "'") + ", " +
                           (g.main[book] ? std::to_string(*g.main[book]) : "NULL") + ")");
        Insert("Insert Into Book (BOOK_ID, syomei2, NDC_ID, ISBN, yobi1_ID)", rows);
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
    // The class's name; 所属なし for none and for a code SYOZOKU lacks.
    static std::string NameOf(std::optional<int> code) {
        return code && kClasses.count(*code) ? kClasses.at(*code) : "所属なし";
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
    for (const char* key : {"1年", "2年", "3年", "4年", "その他", "職員"}) grades[key] = 0;
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        auto code = ClassOf(loan.user);
        const bool known = code && kClasses.count(*code);  // 777 and gone users: 所属なし
        ++classes[known ? kClasses.at(*code) : "所属なし"];
        if (!known)
            ++grades["所属なし"];
        else if (*code == 50)
            ++grades["その他"];  // "特別": no grade to tell
        else if (*code == 900)
            ++grades["職員"];
        else
            ++grades[kClasses.at(*code).substr(0, 1) + "年"];
    }
    EXPECT_EQ(Counted(StatsView::Class), classes);
    EXPECT_EQ(Counted(StatsView::Grade), grades);
}

// The main class (yobi1_ID) first, 11 and 12 their own rows; the division's
// hundreds where it is empty or 0.
TEST_F(StatsTest, PerMainClassWithPictureAndForeignBooksAndNoneApart) {
    const char* names[] = {"総記", "哲学", "歴史", "社会科学", "自然科学",
                           "技術", "産業", "芸術", "言語",     "文学"};
    std::map<std::string, int64_t> expected;
    for (int i = 0; i < 10; ++i) expected[std::to_string(i) + " " + names[i]] = 0;
    for (const char* key : {"絵本", "洋書", "分類なし"}) expected[key] = 0;
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        auto it = g.ndc.find(loan.book);  // books 301 to 310 are not in Book
        const auto main = it == g.ndc.end() ? std::nullopt : g.main[loan.book];
        if (main == 11)
            ++expected["絵本"];
        else if (main == 12)
            ++expected["洋書"];
        else if (main && *main > 0)
            ++expected[std::to_string(*main) + " " + names[*main]];
        else if (it == g.ndc.end() || it->second == 0)
            ++expected["分類なし"];
        else
            ++expected[std::to_string(int(it->second) / 100) + " " + names[int(it->second) / 100]];
    }
    EXPECT_EQ(Counted(StatsView::Ndc), expected);
    auto [from, to] = SchoolYear(2024);
    auto rows = CountLoans(Connection(), from, to, StatsView::Ndc).rows;
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[10].key, "絵本");
    EXPECT_EQ(rows[11].key, "洋書");
    EXPECT_EQ(rows[12].key, "分類なし");
}

TEST_F(StatsTest, TheMostBorrowedTitlesCountCopiesTogetherAndKeepTiesAtTheCut) {
    std::map<std::string, int64_t> per;  // ISBN or book number
    int64_t loans = 0;
    for (const auto& loan : g.loans) {
        if (!InYear(loan)) continue;
        ++loans;
        auto it = g.isbn.find(loan.book);
        char number[32];
        std::snprintf(number, sizeof number, "図書番号 %07d", loan.book);
        ++per[it != g.isbn.end() && !it->second.empty() ? it->second : number];
    }
    std::vector<int64_t> expected;
    for (const auto& [key, count] : per) expected.push_back(count);
    std::sort(expected.rbegin(), expected.rend());
    // One more title, lent as often as the twentieth: both are kept.
    ExecuteRows(Connection(),
                "Insert Into Book (BOOK_ID, syomei2, ISBN) Values (401, '同数', "
                "'978499999999')");
    for (int64_t i = 0; i < expected[19]; ++i)
        ExecuteRows(Connection(),
                    "Insert Into kashibo (BOOK_ID, NAME_ID, kashidashibi) Values "
                    "(401, '100001', '2024/06/01')");
    per["978499999999"] = expected[19];
    loans += expected[19];
    expected.push_back(expected[19]);
    std::sort(expected.rbegin(), expected.rend());
    size_t keep = 20;
    while (keep < expected.size() && expected[keep] == expected[19]) ++keep;
    ASSERT_GT(keep, 20u) << "the fixture ties at the cut";
    expected.resize(keep);
    auto [from, to] = SchoolYear(2024);
    auto table = CountLoans(Connection(), from, to, StatsView::Title);
    EXPECT_EQ(table.loans, loans);  // the heading's count
    std::vector<int64_t> counted;
    for (size_t i = 0; i < table.rows.size(); ++i) {
        const auto& row = table.rows[i];
        counted.push_back(row.count);
        const bool number = row.isbn.rfind("図書番号", 0) == 0;
        const std::string stored = number ? row.isbn : row.isbn.substr(0, 12);
        EXPECT_EQ(row.count, per[stored]) << row.isbn;
        if (!number) {  // the 13 digits with the check digit
            ASSERT_EQ(row.isbn.size(), 13u);
            int sum = 0;
            for (int d = 0; d < 12; ++d) sum += (row.isbn[d] - '0') * (d % 2 ? 3 : 1);
            EXPECT_EQ(row.isbn[12] - '0', (10 - sum % 10) % 10) << row.isbn;
        }
        const int rank =
            i > 0 && row.count == table.rows[i - 1].count ? table.rows[i - 1].rank : int(i) + 1;
        EXPECT_EQ(row.rank, rank);
    }
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(StatsTitles(StatsView::Title),
              (std::vector<std::string>{"順位", "書名", "ISBN", "貸出数"}));
    EXPECT_EQ(StatsTexts(table, 0)[0], "1");
}

TEST_F(StatsTest, UsersWhoBorrowedAgainstUsersOfEachClassWithTheShare) {
    std::map<std::string, std::pair<int64_t, int64_t>> expected;
    std::map<std::string, std::set<std::string>> borrowers;
    for (const auto& [id, code] : g.users) ++expected[NameOf(code)].second;
    for (const auto& loan : g.loans)
        if (InYear(loan) && g.users.count(loan.user))
            borrowers[NameOf(ClassOf(loan.user))].insert(loan.user);
    for (auto& [key, counts] : expected) counts.first = static_cast<int64_t>(borrowers[key].size());
    auto [from, to] = SchoolYear(2024);
    std::map<std::string, std::pair<int64_t, int64_t>> counted;
    for (const auto& row : CountLoans(Connection(), from, to, StatsView::Users).rows) {
        counted[row.key] = {row.count, row.users};
        EXPECT_NEAR(row.rate, row.users ? 100.0 * row.count / row.users : 0, 1e-9) << row.key;
    }
    EXPECT_EQ(counted, expected);
    auto table = CountLoans(Connection(), from, to, StatsView::Users);
    EXPECT_EQ(StatsTitles(StatsView::Users).back(), "割合（%）");
    char share[16];
    std::snprintf(share, sizeof share, "%.1f", table.rows[0].rate);
    EXPECT_EQ(StatsTexts(table, 0).back(), share);
}

// Loans per user of each class and grade: the loans of the group over the
// users it has in Name; 所属なし has the loans of unknown and gone users.
TEST_F(StatsTest, LoansPerUserByClassAndGrade) {
    std::map<std::string, std::pair<int64_t, int64_t>> classes, grades;  // loans, users
    auto grade = [](std::optional<int> code) -> std::string {
        if (!code || !kClasses.count(*code)) return "所属なし";
        if (*code == 50) return "その他";
        if (*code == 900) return "職員";
        return kClasses.at(*code).substr(0, 1) + "年";
    };
    for (const auto& [id, code] : g.users)
        ++classes[NameOf(code)].second, ++grades[grade(code)].second;
    for (const auto& loan : g.loans)
        if (InYear(loan))
            ++classes[NameOf(ClassOf(loan.user))].first, ++grades[grade(ClassOf(loan.user))].first;
    for (auto [view, expected] : {std::pair{StatsView::PerPupilClass, &classes},
                                  std::pair{StatsView::PerPupilGrade, &grades}}) {
        auto [from, to] = SchoolYear(2024);
        std::map<std::string, std::pair<int64_t, int64_t>> counted;
        for (const auto& row : CountLoans(Connection(), from, to, view).rows) {
            counted[row.key] = {row.count, row.users};
            EXPECT_NEAR(row.rate, row.users ? double(row.count) / row.users : 0, 1e-9);
        }
        for (auto it = expected->begin(); it != expected->end();)  // groups without anyone
            it = it->second == std::pair<int64_t, int64_t>{0, 0} ? expected->erase(it) : ++it;
        EXPECT_EQ(counted, *expected) << StatsViewName(view);
    }
}

// The readers who borrowed most in each class and grade: three (five) of
// them, all who tie with the last, ranks shared by ties.
TEST_F(StatsTest, TheReadersWhoReadMostInEachClassAndGrade) {
    std::map<std::string, int64_t> per;  // NAME_ID -> loans
    for (const auto& loan : g.loans)
        if (InYear(loan) && g.users.count(loan.user)) ++per[loan.user];
    auto [from, to] = SchoolYear(2024);
    auto table = CountLoans(Connection(), from, to, StatsView::ReadersClass);
    std::map<std::string, std::vector<int64_t>> byClass;  // counts, most first
    for (const auto& [user, count] : per) byClass[NameOf(ClassOf(user))].push_back(count);
    std::map<std::string, std::vector<std::pair<int, int64_t>>> expected, counted;
    for (auto& [name, counts] : byClass) {
        std::sort(counts.rbegin(), counts.rend());
        for (size_t i = 0; i < counts.size(); ++i)
            if (i < 3 || counts[i] == counts[2])
                expected[name].push_back(
                    {int(std::find(counts.begin(), counts.end(), counts[i]) - counts.begin()) + 1,
                     counts[i]});
    }
    for (const auto& row : table.rows) {
        counted[row.key].push_back({row.rank, row.count});
        const std::string user = "1" + row.reader.substr(0, row.reader.find(' '));
        EXPECT_EQ(per[user], row.count) << row.reader;  // the reader is named by pupil number
    }
    EXPECT_EQ(counted, expected);
    auto grades = CountLoans(Connection(), from, to, StatsView::ReadersGrade);
    std::map<std::string, int> shown;
    for (const auto& row : grades.rows) ++shown[row.key];
    EXPECT_GE(shown["1年"], kReadersPerGrade);
    EXPECT_EQ(StatsTexts(grades, 0)[0], "1年");
    EXPECT_EQ(StatsTexts(grades, 0)[1], "1");
}

// Grades from class names and codes; none is その他.
TEST(GradeOfClass, FromTheNameElseFromTheCode) {
    const struct {
        int64_t code;
        const char* name;
        int grade;
    } cases[] = {
        {101, "1年1組", 1},     {1001, "1年1組", 1},    {1203, "12年3組", 12}, {3, "1-1", 1},
        {204, "２年４組", 2},   {203, "さくら", 2},     {2003, "さくら", 2},   {50, "特別", 0},
        {7, "なかよし学級", 0}, {12345, "ひまわり", 0}, {501, "5－1", 5},      {99, "", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(GradeOfClass(c.code, c.name), c.grade) << c.name;
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

// Every view of a year kept in a folder, as CSV and PDF, the CSV in code
// page 932 with the view's columns (the rank apart, the 13-digit ISBN).
TEST_F(StatsTest, EveryViewOfAPeriodIsSavedToAFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(root) / "統計" / "2024年度";
    auto [from, to] = SchoolYear(2024);
    auto written =
        SaveAllStatsViews(Connection(), from, to, "2024年度", "若葉小学校", folder.string());
    ASSERT_EQ(written.size(), 2 * AllStatsViews().size());
    for (const auto& path : written) EXPECT_GT(fs::file_size(path), 100u) << path;
    std::ifstream in(folder / "05_よく借りられた本.csv", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = platform::FromCp932(bytes.str());
    auto table = CountLoans(Connection(), from, to, StatsView::Title);
    EXPECT_EQ(text.substr(0, text.find("\r\n", 40) + 2),
              "\"順位\",\"書名\",\"ISBN\",\"貸出数\"\r\n\"1\",\"" + table.rows[0].key + "\",\"" +
                  table.rows[0].isbn + "\",\"" + std::to_string(table.rows[0].count) + "\"\r\n");
    std::ifstream pdf(folder / "10_多読者（学年別）.pdf", std::ios::binary);
    std::string head(5, ' ');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

}  // namespace
}  // namespace library_test
