// Rows to write, as column names with their values.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/common/value.h"
#include "engine/dataset/dataset.h"

namespace kashidashi::exchange {

using Cells = std::vector<std::pair<std::string, engine::Value>>;

// Sets each named field of the data set's current row (in edit or insert
// mode); the storage rules convert each value to its column's type.
void SetCells(engine::TDataSet& dataSet, const Cells& cells);

// Appends one row per entry and posts it.
void AppendRows(engine::TDataSet& dataSet, const std::vector<Cells>& rows);

}  // namespace kashidashi::exchange
