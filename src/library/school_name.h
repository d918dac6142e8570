// The school's name as the reports print it: the head row's meisyou read
// through rptHead (which opens Head when it is closed). Empty for a new
// head row (it holds one full-width blank) and when the head cannot be
// read: a print without the school rather than none.
#pragma once

#include <string>

namespace kashidashi::library {

std::string ReportSchoolName();

}  // namespace kashidashi::library
