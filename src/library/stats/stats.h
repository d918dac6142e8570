// Lending statistics of a period (a school year, April to March, or any
// range of days): loans counted from kashibo by their loan date
// (kashidashibi), both ends included. Reads only.
//
// Views, each a table of rows in the chart's order:
//   Month   one row per month of the period, empty months too ("2025/04")
//   Grade   the pupils' grades (1年, 2年, ...; stats_groups.h says how a
//           class's grade is told), その他 for classes whose grade cannot
//           be told, 職員 (staff apart from pupils), then 所属なし for
//           borrowers whose affiliation is not in SYOZOKU (none, unknown
//           code, or gone from Name)
//   Class   every affiliation of SYOZOKU in code order (staff ones too),
//           then 所属なし
//   Ndc     the ten main classes of the NDC (0 総記 ... 9 文学), then 絵本
//           and 洋書, by the book's main class (Book.yobi1_ID: 0-9, 11
//           picture books, 12 foreign books; where it is empty or 0, the
//           hundreds of NDC_ID), then 分類なし for books without either or
//           no longer in Book
//   Title   the 20 most borrowed titles: copies of one ISBN count together
//           (a book without an ISBN counts alone); most first, ties by
//           title; titles tied with the 20th are kept (rank shared)
//   Users   per affiliation: how many of its users borrowed at least once in
//           the period, against how many users it has, and the percentage
//   PerPupilClass / PerPupilGrade
//           loans per user (一人当たり): the loans of each class (grade)
//           over the users it has now; 所属なし has loans but no users
//   ReadersClass / ReadersGrade
//           the readers who borrowed most (多読者) in each class (grade),
//           kReadersPerClass (kReadersPerGrade) of them, more when tied;
//           users gone from Name are not named and not listed
// A borrower's class is their class in Name now (statistics of a year are
// best printed before its 年度更新); grades and staff: affiliation.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

enum class StatsView {
    Month,
    Grade,
    Class,
    Ndc,
    Title,
    Users,
    PerPupilClass,
    PerPupilGrade,
    ReadersClass,
    ReadersGrade
};

// Every view, in the window's order.
const std::vector<StatsView>& AllStatsViews();

struct StatsRow {
    std::string key;     // the label of the row and of its bar (Readers: the group)
    int64_t count = 0;   // loans; Users: users who borrowed
    int64_t users = 0;   // Users, PerPupil*: users of the affiliation (group)
    std::string isbn;    // Title: the ISBN (13 digits) or 図書番号 0000123
    int rank = 0;        // Title, Readers*: 1, 2, 2, 4 ...
    std::string reader;  // Readers*: pupil number and name
    double rate = 0;     // Users: percentage who borrowed; PerPupil*: loans per user
};

struct StatsTable {
    StatsView view = StatsView::Month;
    std::vector<StatsRow> rows;
    int64_t loans = 0;  // every loan of the period
};

inline constexpr size_t kTopTitles = 20;
inline constexpr int kReadersPerClass = 3;
inline constexpr int kReadersPerGrade = 5;

// Throws EngineError when a table is missing or cannot be read.
StatsTable CountLoans(engine::storage::Connection& connection, engine::Date from, engine::Date to,
                      StatsView view);

// April 1st of `year` to March 31st of the next year.
std::pair<engine::Date, engine::Date> SchoolYear(int year);

// "month", "grade", "class", "ndc", "title", "users", "perpupil-class",
// "perpupil-grade", "readers-class", "readers-grade"; nothing for another word.
std::optional<StatsView> StatsViewNamed(const std::string& name);
std::string StatsViewName(StatsView view);
// The view's name in the window (月別, 学年別, ...) and its column titles.
std::string StatsViewTitle(StatsView view);
std::vector<std::string> StatsTitles(StatsView view);
// One row as the texts under StatsTitles (the rate with one decimal).
std::vector<std::string> StatsTexts(const StatsTable& table, size_t row);

}  // namespace kashidashi::library
