#include "library/affiliation.h"

#include "library/sql_rows.h"

namespace kashidashi::library {

bool IsStaffAffiliation(const std::string& name) {
    for (const char* word : {"職員", "教員", "先生"})
        if (name.find(word) != std::string::npos) return true;
    return false;
}

int GradeOfClass(int64_t code) {
    return code >= 100 ? static_cast<int>(code / 100) : 0;
}

std::map<int64_t, std::string> ReadAffiliations(engine::storage::Connection& connection) {
    std::map<int64_t, std::string> names;
    auto rows = SelectRows(connection, "Select SYOZOKU_ID, SYOZOKU From SYOZOKU");
    for (const auto& row : rows.rows)
        if (!row.values[0].IsNull()) names[IntegerOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

}  // namespace kashidashi::library
