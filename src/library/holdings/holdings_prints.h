// The prints of 蔵書・利用者の管理, laid out from the program's layouts
// (reports/layouts):
//   - reading_record: 読書記録, a pupil's loans on pages of their own (the
//     school, the class and name, one row per loan: loan date, book number,
//     title, return date; the count), for several pupils one after another;
//   - book_list: 蔵書一覧, the books found (number, title, authors, call
//     number, state) under the words they were found by.
// `head` is the school's row (rptHead); both throw what the data throws.
#pragma once

#include <string>
#include <vector>

#include "library/holdings/book_search.h"
#include "library/holdings/roll.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::library::holdings {

struct ReadingRecord {
    RollUser user;
    std::vector<UserLoan> loans;  // oldest first on the page
};

reports::PreparedReport ReadingRecordReport(const std::vector<ReadingRecord>& records,
                                            reports::ReportSource& head);
reports::PreparedReport BookListReport(const std::vector<BookHit>& hits, const std::string& what,
                                       reports::ReportSource& head);

}  // namespace kashidashi::library::holdings
