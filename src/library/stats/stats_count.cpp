// The counts of each view of the statistics (stats.h); the people views are
// stats_people.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "data/isbn.h"
#include "engine/common/dates.h"
#include "library/stats/stats.h"
#include "library/stats/stats_people.h"
#include "library/stats/stats_read.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;

constexpr const char* kNdcNames[] = {"総記", "哲学", "歴史", "社会科学", "自然科学",
                                     "技術", "産業", "芸術", "言語",     "文学"};
constexpr int kPictureBooks = 11, kForeignBooks = 12;

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

// The row of a book in the NDC view: 0-9 the main class, 10 絵本, 11 洋書,
// 12 分類なし. The main class quick registration and the catalogue write
// (yobi1_ID) comes first; a book entered by hand has only its NDC_ID.
int NdcRow(const StatsBook& book) {
    if (book.main == kPictureBooks) return 10;
    if (book.main == kForeignBooks) return 11;
    if (book.main && *book.main >= 1 && *book.main <= 9) return static_cast<int>(*book.main);
    if (book.ndc > 0 && book.ndc < 1000) return static_cast<int>(std::floor(book.ndc / 100));
    return 12;
}

std::vector<StatsRow> ByNdc(Connection& c, engine::Date from, engine::Date to) {
    auto books = StatsBooks(c);
    int64_t counts[13] = {};
    for (int64_t book : LoanBooks(c, from, to)) {
        auto it = books.find(book);
        ++counts[it == books.end() ? 12 : NdcRow(it->second)];
    }
    std::vector<StatsRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({std::to_string(i) + " " + kNdcNames[i], counts[i]});
    rows.push_back({"絵本", counts[10]});
    rows.push_back({"洋書", counts[11]});
    rows.push_back({"分類なし", counts[12]});
    return rows;
}

// The 13 digits of a stored ISBN of twelve; another text as it is.
std::string Isbn13(const std::string& stored) {
    std::string full = IsbnWithCheckDigit(stored);
    return full.empty() ? stored : full;
}

std::string BookNumber(int64_t book) {
    char text[32];
    std::snprintf(text, sizeof text, "図書番号 %07lld", static_cast<long long>(book));
    return text;
}

// The most borrowed titles; `loans` gets every loan of the period.
std::vector<StatsRow> ByTitle(Connection& c, engine::Date from, engine::Date to, int64_t& loans) {
    auto books = StatsBooks(c);
    std::map<std::string, StatsRow> titles;  // by ISBN, or by book number
    for (int64_t book : LoanBooks(c, from, to)) {
        ++loans;
        auto it = books.find(book);
        const bool isbn = it != books.end() && !it->second.isbn.empty();
        const std::string key = isbn ? it->second.isbn : BookNumber(book);
        auto [row, added] = titles.try_emplace(
            key,
            StatsRow{it == books.end() ? "" : it->second.title, 0, 0, isbn ? Isbn13(key) : key});
        ++row->second.count;
    }
    std::vector<StatsRow> rows;
    for (auto& [key, row] : titles) rows.push_back(std::move(row));
    std::sort(rows.begin(), rows.end(), [](const StatsRow& a, const StatsRow& b) {
        return std::tie(b.count, a.key, a.isbn) < std::tie(a.count, b.key, b.isbn);
    });
    size_t keep = std::min(rows.size(), kTopTitles);
    while (keep > 0 && keep < rows.size() && rows[keep].count == rows[keep - 1].count) ++keep;
    rows.resize(keep);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].rank = i > 0 && rows[i].count == rows[i - 1].count ? rows[i - 1].rank : int(i) + 1;
    return rows;
}

}  // namespace

const std::vector<StatsView>& AllStatsViews() {
    static const std::vector<StatsView> views = {StatsView::Month,         StatsView::Grade,
                                                 StatsView::Class,         StatsView::Ndc,
                                                 StatsView::Title,         StatsView::Users,
                                                 StatsView::PerPupilClass, StatsView::PerPupilGrade,
                                                 StatsView::ReadersClass,  StatsView::ReadersGrade};
    return views;
}

StatsTable CountLoans(Connection& connection, engine::Date from, engine::Date to, StatsView view) {
    StatsTable table;
    table.view = view;
    switch (view) {
        case StatsView::Month:
            table.rows = ByMonth(connection, from, to);
            break;
        case StatsView::Grade:
        case StatsView::Class:
            table.rows = LoansPerGroup(connection, from, to, view == StatsView::Grade);
            break;
        case StatsView::Ndc:
            table.rows = ByNdc(connection, from, to);
            break;
        case StatsView::Title:
            table.rows = ByTitle(connection, from, to, table.loans);
            return table;
        case StatsView::Users:
            table.rows = UsersWhoBorrowed(connection, from, to);
            break;
        case StatsView::PerPupilClass:
        case StatsView::PerPupilGrade:
            table.rows = LoansPerUser(connection, from, to, view == StatsView::PerPupilGrade);
            break;
        case StatsView::ReadersClass:
        case StatsView::ReadersGrade:
            table.rows = MostReaders(connection, from, to, view == StatsView::ReadersGrade);
            break;
    }
    const bool loanRows = view != StatsView::Users && view != StatsView::ReadersClass &&
                          view != StatsView::ReadersGrade;
    if (loanRows)
        for (const auto& row : table.rows) table.loans += row.count;
    else
        table.loans = static_cast<int64_t>(LoanDays(connection, from, to).size());
    return table;
}

}  // namespace kashidashi::library
