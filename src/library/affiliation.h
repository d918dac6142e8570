// Affiliations (SYOZOKU): classes and staff. The schema marks neither, so
// the librarian's lists read them from the codes and names every school
// gives them:
//   - a user is staff when the name of their affiliation holds 職員, 教員
//     or 先生 (the demo school's 900 職員); every other user is a pupil;
//   - a pupil's grade is the hundreds of the class code (101 is 1年1組,
//     203 is 2年3組); a class code below 100 gives no grade (0).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::library {

bool IsStaffAffiliation(const std::string& name);
int GradeOfClass(int64_t code);

// Every row of SYOZOKU: code -> name. Throws EngineError when the table is missing.
std::map<int64_t, std::string> ReadAffiliations(engine::storage::Connection& connection);

}  // namespace kashidashi::library
