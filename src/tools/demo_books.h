// The books of the demo school (see demo_school.h).
#pragma once

#include <random>
#include <vector>

#include "engine/common/value.h"
#include "exchange/table_cells.h"

namespace kashidashi::admin {

std::vector<exchange::Cells> DemoBooks(std::mt19937& random, engine::Date today);

}  // namespace kashidashi::admin
