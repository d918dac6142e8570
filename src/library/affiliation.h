// Affiliations (SYOZOKU): classes and staff. The schema marks neither, so
// the librarian's lists read them from the codes and names every school
// gives them:
//   - a user is staff when the name of their affiliation holds 職員, 教員
//     or 先生 (the demo school's 900 職員); every other user is a pupil;
//   - a pupil's grade is the number a class name begins with, before 年 or a
//     hyphen ("1年1組", "１年２組", "2-3"); for a name that does not begin so,
//     the first digit of a class code of three or four digits (101 and 1001
//     are grade 1, 203 and 2003 grade 2); otherwise none (0), as for
//     "なかよし学級" coded 50.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::library {

bool IsStaffAffiliation(const std::string& name);
int GradeOfClass(int64_t code, const std::string& name);

// Every row of SYOZOKU: code -> name. Throws EngineError when the table is missing.
std::map<int64_t, std::string> ReadAffiliations(engine::storage::Connection& connection);

}  // namespace kashidashi::library
