// The people views of the statistics (stats.h), each counting the loans of
// a period by the borrower's group (stats_groups.h): by class, or by grade
// when `grades`.
#pragma once

#include <vector>

#include "library/stats/stats.h"
#include "library/stats/stats_groups.h"

namespace kashidashi::library {

// Class, Grade: the loans of each group.
std::vector<StatsRow> LoansPerGroup(engine::storage::Connection& c, engine::Date from,
                                    engine::Date to, bool grades);
// Users: borrowers against users of each affiliation, and the percentage.
std::vector<StatsRow> UsersWhoBorrowed(engine::storage::Connection& c, engine::Date from,
                                       engine::Date to);
// PerPupil*: loans, users and loans per user of each group.
std::vector<StatsRow> LoansPerUser(engine::storage::Connection& c, engine::Date from,
                                   engine::Date to, bool grades);
// Readers*: the readers who borrowed most in each group, ties kept.
std::vector<StatsRow> MostReaders(engine::storage::Connection& c, engine::Date from,
                                  engine::Date to, bool grades);

}  // namespace kashidashi::library
