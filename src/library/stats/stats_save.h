// The statistics of a period kept as files, for the school's records: every
// view of stats.h as a CSV file and as the PDF of its print, in one folder.
//
// The CSV file of a view: a line of its column titles (StatsTitles), then
// one line per row (StatsTexts), every field in double quotes (quotes
// inside doubled), CR LF after each line, code page 932 (a character it
// cannot hold becomes "?"), as the grids export.
#pragma once

#include <string>
#include <vector>

#include "library/stats/stats.h"

namespace kashidashi::library {

// Lines of fields as CSV text in UTF-8, as above (before code page 932).
std::string CsvText(const std::vector<std::vector<std::string>>& lines);
// The CSV text of a table, in UTF-8 (WriteStatsCsv converts it).
std::string StatsCsv(const StatsTable& table);
// Writes the table's CSV file; throws std::runtime_error (plain Japanese
// naming the file) when it cannot be written.
void WriteStatsCsv(const StatsTable& table, const std::string& path);

// Writes every view of the period from `from` to `to` to `folder` (made
// when missing): "01_月別.csv" and "01_月別.pdf", "02_学年別.csv" ... in the
// order of AllStatsViews. `period` is the period as printed ("2025年度
// （2025/04/01 ～ 2026/03/31）"), `school` the school's name on each print.
// Returns the paths written. Painting the PDF needs a Qt Gui application
// (an offscreen one does). Throws EngineError when the data cannot be read,
// std::runtime_error when a file cannot be written; files written before
// stay.
std::vector<std::string> SaveAllStatsViews(engine::storage::Connection& connection,
                                           engine::Date from, engine::Date to,
                                           const std::string& period, const std::string& school,
                                           const std::string& folder);

}  // namespace kashidashi::library
