#include "library/affiliation.h"

#include <utility>

#include "library/sql_rows.h"

namespace kashidashi::library {

bool IsStaffAffiliation(const std::string& name) {
    for (const char* word : {"職員", "教員", "先生"})
        if (name.find(word) != std::string::npos) return true;
    return false;
}

namespace {

// The number a name begins with (ASCII or full-width digits) and the bytes it
// took; 0 and 0 when it begins otherwise.
std::pair<int, size_t> LeadingNumber(const std::string& name) {
    int number = 0;
    size_t at = 0;
    while (at < name.size() && number < 100) {
        if (name[at] >= '0' && name[at] <= '9') {
            number = number * 10 + (name[at] - '0');
            at += 1;
        } else if (name.compare(at, 2, "\xef\xbc") == 0 && at + 2 < name.size() &&
                   static_cast<unsigned char>(name[at + 2]) >= 0x90 &&
                   static_cast<unsigned char>(name[at + 2]) <= 0x99) {  // ０ to ９
            number = number * 10 + (static_cast<unsigned char>(name[at + 2]) - 0x90);
            at += 3;
        } else {
            break;
        }
    }
    return {number, at};
}

}  // namespace

int GradeOfClass(int64_t code, const std::string& name) {
    auto [number, used] = LeadingNumber(name);
    if (used > 0) {
        for (const char* mark : {"年", "-", "－", "‐", "ー"})
            if (name.compare(used, std::string(mark).size(), mark) == 0) return number;
    }
    if (code >= 100 && code <= 999) return static_cast<int>(code / 100);
    if (code >= 1000 && code <= 9999) return static_cast<int>(code / 1000);
    return 0;
}

std::map<int64_t, std::string> ReadAffiliations(engine::storage::Connection& connection) {
    std::map<int64_t, std::string> names;
    auto rows = SelectRows(connection, "Select SYOZOKU_ID, SYOZOKU From SYOZOKU");
    for (const auto& row : rows.rows)
        if (!row.values[0].IsNull()) names[IntegerOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

}  // namespace kashidashi::library
