// The prints of the overdue follow-up, laid out from the layouts of the
// program's resources (reports/layouts):
//   - overdue_list: the overdue loans of each class on pages of its own, for
//     the class teacher (title, class, day, one row per loan, the count);
//   - overdue_slips: 督促状, one slip per borrower with all their overdue
//     books (school, class, name, titles and due dates, a kind request to
//     bring them back: to a pupil in a child's words with さん, to staff in
//     an adult's with 様), three slips on an A4 page with a cut line under
//     each.
// `head` is the school's row (rptHead); both throw what the data throws.
#pragma once

#include <vector>

#include "engine/common/value.h"
#include "library/overdue/overdue.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::library {

// A class's loans follow each other in `loans` (OverdueLoans' order).
// `title` replaces the list's own title (延滞図書一覧表) when given.
reports::PreparedReport OverdueListReport(const std::vector<OverdueLoan>& loans, engine::Date day,
                                          reports::ReportSource& head,
                                          const std::string& title = "");
reports::PreparedReport OverdueSlipsReport(const std::vector<OverdueLoan>& loans, engine::Date day,
                                           reports::ReportSource& head);

// The request of a slip and the honorific after the name.
inline constexpr const char* kPupilRequest =
    "次の本の返却予定日が過ぎています。読み終わったら、図書館に返してください。\n"
    "まだ読んでいるときや、見つからないときは、図書館の先生に相談してください。";
inline constexpr const char* kStaffRequest =
    "次の本の返却予定日が過ぎています。お手数ですが、図書館へご返却をお願いいたします。\n"
    "お心当たりのない場合や、引き続きお使いになる場合は、図書館までお知らせください。";

// The titles a slip lists at most; more are counted ("ほか 2 冊").
inline constexpr size_t kSlipTitles = 6;

}  // namespace kashidashi::library
