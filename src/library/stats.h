// Lending statistics of a period (a school year, April to March, or any
// range of days): loans counted from kashibo by their loan date
// (kashidashibi), both ends included. Reads only.
//
// Views, each a table of rows in the chart's order:
//   Month  one row per month of the period, empty months too ("2025/04")
//   Grade  the pupils' grades (1年, 2年, ...), then 職員 (staff apart from
//          pupils), then 所属なし for borrowers without a known class
//   Class  every affiliation of SYOZOKU in code order (staff ones too),
//          then 所属なし
//   Ndc    the ten classes of the NDC (0 総記 ... 9 文学) by the book's
//          classification (Book.NDC_ID, hundreds), then 分類なし for books
//          without one (NULL or 0) or no longer in Book
//   Title  the 20 most borrowed titles: copies of one ISBN count together
//          (a book without an ISBN counts alone); most first, ties by title
//   Users  per affiliation: how many of its users borrowed at least once in
//          the period, against how many users it has
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

enum class StatsView { Month, Grade, Class, Ndc, Title, Users };

struct StatsRow {
    std::string key;    // the label of the row and of its bar
    int64_t count = 0;  // loans; Users: users who borrowed
    int64_t users = 0;  // Users: users of the affiliation
    std::string isbn;   // Title: the ISBN (12 digits) or 図書番号 0000123
};

struct StatsTable {
    StatsView view = StatsView::Month;
    std::vector<StatsRow> rows;
    int64_t loans = 0;  // every loan of the period
};

inline constexpr size_t kTopTitles = 20;

// Throws EngineError when a table is missing or cannot be read.
StatsTable CountLoans(engine::storage::Connection& connection, engine::Date from, engine::Date to,
                      StatsView view);

// April 1st of `year` to March 31st of the next year.
std::pair<engine::Date, engine::Date> SchoolYear(int year);

// "month", "grade", "class", "ndc", "title", "users"; nothing for another word.
std::optional<StatsView> StatsViewNamed(const std::string& name);
// The view's name in the window (月別, 学年別, ...) and its column titles:
// key and count, and for Users a third (利用者数).
std::string StatsViewTitle(StatsView view);
std::vector<std::string> StatsTitles(StatsView view);

}  // namespace kashidashi::library
