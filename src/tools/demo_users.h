// The classes and users of the demo school (see demo_school.h).
#pragma once

#include <random>
#include <vector>

#include "exchange/table_cells.h"

namespace kashidashi::admin {

std::vector<exchange::Cells> DemoClasses();
std::vector<exchange::Cells> DemoUsers(std::mt19937& random);

}  // namespace kashidashi::admin
