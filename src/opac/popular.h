// よく読まれている本: the works lent most in the last 90 days, for all pupils
// and for each grade group, counted from the loan register and the pupils'
// classes (a class's grade by the librarian's rule, library/affiliation.h).
// Only counts are kept: nothing of who borrowed stays in memory after the
// count. Counted again every ten minutes (refresher.h).
//
// The grade tabs of 新しく入った本 use the same counts: a new work is shown
// to a group when its shelf (an NDC main class, 絵本, 洋書) takes at least a
// tenth of the group's loans of the last 90 days; a group with no loans
// sees every new work.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "opac/search_index.h"

namespace kashidashi::opac {

enum class GradeGroup { All, Low, Middle, High };  // 1-6 / 1・2 / 3・4 / 5・6年

// The group of a grade: 1・2 Low, 3・4 Middle, 5・6 High; All for any other
// (staff, a class whose grade cannot be told), counted in みんな only.
GradeGroup GroupOfGrade(int grade);

inline constexpr int kPopularDays = 90;

class Popular {
  public:
    // Counts the loans since `since` (engine day) afresh.
    void Count(engine::storage::Connection& data, const SearchIndex& index, int32_t since);

    std::vector<SearchHit> MostRead(GradeGroup group, int limit) const;
    std::vector<SearchHit> NewWorks(const SearchIndex& index, int32_t sinceDay, int limit,
                                    GradeGroup group) const;

  private:
    struct Counts {
        std::vector<SearchHit> ranked;      // most lent first
        std::map<int, int64_t> shelfLoans;  // shelf -> loans
        int64_t loans = 0;
    };
    mutable std::mutex mutex_;
    std::map<GradeGroup, Counts> counts_;
};

}  // namespace kashidashi::opac
