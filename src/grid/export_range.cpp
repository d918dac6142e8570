#include "grid/export_range.h"

#include <stdexcept>

namespace kashidashi {

std::string ColumnName(int column) {
    if (column < 1 || column > 702) throw std::out_of_range("column " + std::to_string(column));
    if (column <= 26) return std::string(1, static_cast<char>('A' + column - 1));
    return std::string{static_cast<char>('A' + (column - 1) / 26 - 1),
                       static_cast<char>('A' + (column - 1) % 26)};
}

std::string CellRangeAddress(int row, int column, int dr, int dc) {
    return ColumnName(column) + std::to_string(row) + ":" + ColumnName(column + dc) +
           std::to_string(row + dr);
}

}  // namespace kashidashi
