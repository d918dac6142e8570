#include "exchange/isbn_rule.h"

#include <algorithm>

#include "data/isbn.h"
#include "platform/half_width.h"

namespace kashidashi::exchange {

CellValue IsbnCell(const std::string& column, std::string_view text) {
    std::string digits;
    for (char c : platform::ToHalfWidthText(text)) {
        if (c != '-' && c != ' ') digits += c;
    }
    if (digits.empty()) return {};
    const bool allDigits =
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits || (digits.size() != 12 && digits.size() != 13))
        return {{}, CellError(column, text, "ISBNではありません（12桁か13桁の数字）")};
    if (digits.size() == 13 && Ean13CheckDigit(digits.substr(0, 12)) != digits[12])
        return {{}, CellError(column, text, "チェックディジットが合いません")};
    return {engine::Value(digits.substr(0, 12)), {}};
}

}  // namespace kashidashi::exchange
