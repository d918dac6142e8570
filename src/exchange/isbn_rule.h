// The ISBN of an imported book: 12 digits as the book table stores them, or
// the 13 digits of the barcode whose check digit must be right; hyphens and
// blanks between the digits are ignored. The value is the twelve-digit text
// (NULL for an empty field).
#pragma once

#include <string>
#include <string_view>

#include "exchange/cell_convert.h"

namespace kashidashi::exchange {

CellValue IsbnCell(const std::string& column, std::string_view text);

}  // namespace kashidashi::exchange
