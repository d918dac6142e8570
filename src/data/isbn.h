// The 13-digit ISBN of a book from the twelve digits that Book.ISBN stores.
#pragma once

#include <string>
#include <string_view>

namespace kashidashi {

// The EAN-13 check digit of twelve bytes: each byte that is no digit counts
// 0; total := digits at positions 1, 3, ..., 11 + 3 x those at 2, 4, ..., 12;
// check digit := (10 - total mod 10) mod 10.
char Ean13CheckDigit(std::string_view twelveBytes);

// The text followed by its check digit when it is exactly twelve bytes long
// in code page 932; otherwise empty.
std::string IsbnWithCheckDigit(std::string_view isbn12);

}  // namespace kashidashi
