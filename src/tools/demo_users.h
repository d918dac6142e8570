// The classes and users of the demo school (see demo_school.h).
#pragma once

#include <random>
#include <vector>

#include "tools/table_cells.h"

namespace kashidashi::admin {

std::vector<Cells> DemoClasses();
std::vector<Cells> DemoUsers(std::mt19937& random);

}  // namespace kashidashi::admin
