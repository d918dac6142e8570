// The year-end figures of the stock check, by NDC main class: what a school
// reports each year. The school year runs from April 1 of `year` to March
// 31 of the next.
//   holdings     books not discarded
//   checked      of them, found by the last check (tenkenF)
//   lost         of them, marked 不明 (kx_lost)
//   writtenOff   books written off in the year (haiki_date in it), of
//                which byCheck by a check's 完了 (kx_writeoff)
// The class of a book: the hundreds of its NDC_ID (913 is 9), a code below
// 10 being a class already (schools that key NDC by class); none: 未設定.
// Reads only; throws what the data throws.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace kashidashi::library {

struct SummaryLine {
    std::string group;  // "0 総記" ... "9 文学", "未設定", last "合計"
    int holdings = 0, checked = 0, lost = 0, writtenOff = 0, byCheck = 0;
};

std::vector<SummaryLine> YearSummary(engine::storage::Connection& connection, int year);

// The school year a date falls in (April to March): 2027/03/31 is 2026.
int SchoolYearOf(int year, int month);

std::vector<std::string> SummaryTitles();
std::vector<std::string> SummaryTexts(const SummaryLine& line);

}  // namespace kashidashi::library
