// The print of the stock check: the books not found (図書番号, 書名, 請求記号,
// 保管場所) in BooksNotFound's order, from the layout inventory_missing of
// the program's resources, with the check's start date under the title.
// `head` is the school's row (rptHead); throws what the data throws.
#pragma once

#include <optional>
#include <vector>

#include "engine/common/value.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_summary.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::library {

// `title` replaces the layout's title (the 不明図書 list, the write-offs).
reports::PreparedReport MissingBooksReport(const std::vector<ScannedBook>& books,
                                           std::optional<engine::Date> startedOn,
                                           reports::ReportSource& head,
                                           const std::string& title = "");

// The year-end figures (inventory_summary.h) from the layout
// inventory_summary, the school year under the title.
reports::PreparedReport YearSummaryReport(const std::vector<SummaryLine>& lines, int year,
                                          reports::ReportSource& head);

// The columns of the list as the grid, the print and the command show them.
std::vector<std::string> MissingTitles();
std::vector<std::string> MissingTexts(const ScannedBook& book);

}  // namespace kashidashi::library
