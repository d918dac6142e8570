// The plan's counts by class and the alarms that ask for a second yes
// (rollover.h).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "library/year/rollover.h"

namespace kashidashi::library {

// Fills plan.classes and plan.alarms from every user of Name now
// (`everyone`) and the plan's changes, additions and leavers. A whole class,
// grade or staff leaving, or more than a tenth of the users, is an alarm;
// those already in 卒業・転出 count for neither.
void CountByClass(const std::vector<RolloverUser>& everyone,
                  const std::map<int64_t, std::string>& classes, RolloverPlan& plan);

}  // namespace kashidashi::library
