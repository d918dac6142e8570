// The groups the people views of the statistics count in (stats.h): each
// affiliation of SYOZOKU in code order, or the grades (1年, 2年, ...), その他
// for classes whose grade cannot be told, 職員; and 所属なし last for users
// whose affiliation is not in SYOZOKU (none, an unknown code, or a borrower
// gone from Name).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kashidashi::library {

struct StatsGroups {
    std::vector<std::string> labels;  // in the chart's order; 所属なし last
    std::map<int64_t, size_t> ofCode;

    size_t NoClass() const { return labels.size() - 1; }
    size_t Of(const std::optional<int64_t>& code) const {
        if (!code) return NoClass();
        auto it = ofCode.find(*code);
        return it == ofCode.end() ? NoClass() : it->second;
    }
};

// `affiliations`: SYOZOKU's code -> name.
StatsGroups ClassGroups(const std::map<int64_t, std::string>& affiliations);
StatsGroups GradeGroups(const std::map<int64_t, std::string>& affiliations);

inline constexpr const char* kNoClass = "所属なし";
inline constexpr const char* kStaff = "職員";
inline constexpr const char* kOtherClasses = "その他";

}  // namespace kashidashi::library
