#include "library/stats/stats_groups.h"

#include "library/affiliation.h"

namespace kashidashi::library {

StatsGroups ClassGroups(const std::map<int64_t, std::string>& affiliations) {
    StatsGroups groups;
    for (const auto& [code, name] : affiliations) {
        groups.ofCode[code] = groups.labels.size();
        groups.labels.push_back(name);
    }
    groups.labels.push_back(kNoClass);
    return groups;
}

StatsGroups GradeGroups(const std::map<int64_t, std::string>& affiliations) {
    constexpr int kOther = 1000, kStaffGrade = 1001;  // after every grade
    std::map<int64_t, int> gradeOf;
    std::map<int, size_t> order{{kStaffGrade, 0}};  // 職員 always has its row
    for (const auto& [code, name] : affiliations) {
        int grade = IsStaffAffiliation(name) ? kStaffGrade : GradeOfClass(code, name);
        if (grade == 0) grade = kOther;
        gradeOf[code] = grade;
        order[grade] = 0;
    }
    StatsGroups groups;
    for (auto& [grade, index] : order) {
        index = groups.labels.size();
        groups.labels.push_back(grade == kStaffGrade ? kStaff
                                : grade == kOther    ? kOtherClasses
                                                     : std::to_string(grade) + "年");
    }
    for (const auto& [code, grade] : gradeOf) groups.ofCode[code] = order[grade];
    groups.labels.push_back(kNoClass);
    return groups;
}

}  // namespace kashidashi::library
