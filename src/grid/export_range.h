// Cell addresses of the spreadsheet export.
#pragma once

#include <string>

namespace kashidashi {

// The name of a sheet column: 1..26 "A".."Z", 27..702 "AA".."ZZ".
// std::out_of_range for any other column.
std::string ColumnName(int column);

// "<first column><first row>:<column + dc><row + dr>", as "A1:C10"; the
// column 1-based.
std::string CellRangeAddress(int row, int column, int dr, int dc);

}  // namespace kashidashi
