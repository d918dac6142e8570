// The counts of each view of the statistics (stats.h).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "engine/common/dates.h"
#include "library/affiliation.h"
#include "library/stats.h"
#include "library/stats_read.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;

constexpr const char* kNoClass = "所属なし";
constexpr const char* kStaff = "職員";
constexpr const char* kNdcNames[] = {"総記", "哲学", "歴史", "社会科学", "自然科学",
                                     "技術", "産業", "芸術", "言語",     "文学"};

std::string MonthKey(int year, int month) {
    char key[16];
    std::snprintf(key, sizeof key, "%04d/%02d", year, month);
    return key;
}

std::vector<StatsRow> ByMonth(Connection& c, engine::Date from, engine::Date to) {
    std::map<std::string, int64_t> counts;
    for (int32_t day : LoanDays(c, from, to)) {
        auto civil = engine::ToCivil(engine::Date{day});
        ++counts[MonthKey(civil.year, civil.month)];
    }
    std::vector<StatsRow> rows;
    auto first = engine::ToCivil(from), last = engine::ToCivil(to);
    for (int y = first.year, m = first.month;
         y < last.year || (y == last.year && m <= last.month);) {
        const std::string key = MonthKey(y, m);
        rows.push_back({key, counts[key]});
        if (++m > 12) m = 1, ++y;
    }
    return rows;
}

// Loans per class code of the borrower now (none: unknown borrower or class).
std::map<std::optional<int64_t>, int64_t> PerClass(Connection& c, engine::Date from,
                                                   engine::Date to) {
    auto classes = UserClasses(c);
    std::map<std::optional<int64_t>, int64_t> counts;
    for (const auto& user : LoanUsers(c, from, to)) {
        auto it = classes.find(user);
        ++counts[it == classes.end() ? std::nullopt : it->second];
    }
    return counts;
}

// A count for each affiliation that names no class (unknown codes and no class).
int64_t Unplaced(const std::map<std::optional<int64_t>, int64_t>& counts,
                 const std::map<int64_t, std::string>& names) {
    int64_t total = 0;
    for (const auto& [code, count] : counts)
        if (!code || !names.count(*code)) total += count;
    return total;
}

std::vector<StatsRow> ByClass(Connection& c, engine::Date from, engine::Date to) {
    auto names = ReadAffiliations(c);
    auto counts = PerClass(c, from, to);
    std::vector<StatsRow> rows;
    for (const auto& [code, name] : names) rows.push_back({name, counts[code]});
    if (int64_t rest = Unplaced(counts, names)) rows.push_back({kNoClass, rest});
    return rows;
}

std::vector<StatsRow> ByGrade(Connection& c, engine::Date from, engine::Date to) {
    auto names = ReadAffiliations(c);
    auto counts = PerClass(c, from, to);
    std::map<int, int64_t> grades;
    int64_t staff = 0;
    for (const auto& [code, name] : names) {
        if (IsStaffAffiliation(name))
            staff += counts[code];
        else
            grades[GradeOfClass(code)] += counts[code];
    }
    std::vector<StatsRow> rows;
    int64_t rest = Unplaced(counts, names);
    for (const auto& [grade, count] : grades) {
        if (grade == 0)
            rest += count;  // a class without a grade
        else
            rows.push_back({std::to_string(grade) + "年", count});
    }
    rows.push_back({kStaff, staff});
    if (rest) rows.push_back({kNoClass, rest});
    return rows;
}

int NdcClass(double ndc) {
    if (!(ndc > 0) || ndc >= 1000) return -1;
    return static_cast<int>(std::floor(ndc / 100));
}

std::vector<StatsRow> ByNdc(Connection& c, engine::Date from, engine::Date to) {
    auto books = StatsBooks(c);
    int64_t counts[10] = {}, none = 0;
    for (int64_t book : LoanBooks(c, from, to)) {
        auto it = books.find(book);
        int ndc = it == books.end() ? -1 : NdcClass(it->second.ndc);
        ndc < 0 ? ++none : ++counts[ndc];
    }
    std::vector<StatsRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({std::to_string(i) + " " + kNdcNames[i], counts[i]});
    rows.push_back({"分類なし", none});
    return rows;
}

std::string BookNumber(int64_t book) {
    char text[32];
    std::snprintf(text, sizeof text, "図書番号 %07lld", static_cast<long long>(book));
    return text;
}

std::vector<StatsRow> ByTitle(Connection& c, engine::Date from, engine::Date to) {
    auto books = StatsBooks(c);
    std::map<std::string, StatsRow> titles;  // by ISBN, or by book number
    for (int64_t book : LoanBooks(c, from, to)) {
        auto it = books.find(book);
        const bool isbn = it != books.end() && !it->second.isbn.empty();
        const std::string key = isbn ? it->second.isbn : BookNumber(book);
        auto [row, added] =
            titles.try_emplace(key, StatsRow{it == books.end() ? "" : it->second.title, 0, 0, key});
        ++row->second.count;
    }
    std::vector<StatsRow> rows;
    for (auto& [key, row] : titles) rows.push_back(std::move(row));
    std::sort(rows.begin(), rows.end(), [](const StatsRow& a, const StatsRow& b) {
        return std::tie(b.count, a.key, a.isbn) < std::tie(a.count, b.key, b.isbn);
    });
    if (rows.size() > kTopTitles) rows.resize(kTopTitles);
    return rows;
}

std::vector<StatsRow> ByUsers(Connection& c, engine::Date from, engine::Date to) {
    auto names = ReadAffiliations(c);
    auto classes = UserClasses(c);
    std::map<std::optional<int64_t>, int64_t> users, borrowers;
    for (const auto& [id, code] : classes)
        ++users[code && names.count(*code) ? code : std::nullopt];
    std::set<std::string> seen;
    for (auto& user : LoanUsers(c, from, to)) {
        auto it = classes.find(user);
        if (it == classes.end() || !seen.insert(user).second) continue;  // users of Name only, once
        ++borrowers[it->second && names.count(*it->second) ? it->second : std::nullopt];
    }
    std::vector<StatsRow> rows;
    for (const auto& [code, name] : names) rows.push_back({name, borrowers[code], users[code]});
    if (users[std::nullopt])
        rows.push_back({kNoClass, borrowers[std::nullopt], users[std::nullopt]});
    return rows;
}

}  // namespace

StatsTable CountLoans(Connection& connection, engine::Date from, engine::Date to, StatsView view) {
    StatsTable table;
    table.view = view;
    switch (view) {
        case StatsView::Month:
            table.rows = ByMonth(connection, from, to);
            break;
        case StatsView::Grade:
            table.rows = ByGrade(connection, from, to);
            break;
        case StatsView::Class:
            table.rows = ByClass(connection, from, to);
            break;
        case StatsView::Ndc:
            table.rows = ByNdc(connection, from, to);
            break;
        case StatsView::Title:
            table.rows = ByTitle(connection, from, to);
            break;
        case StatsView::Users:
            table.rows = ByUsers(connection, from, to);
            break;
    }
    if (view != StatsView::Title && view != StatsView::Users)
        for (const auto& row : table.rows) table.loans += row.count;
    return table;
}

}  // namespace kashidashi::library
