#include "data/isbn.h"

#include "platform/cp932.h"

namespace kashidashi {

char Ean13CheckDigit(std::string_view twelveBytes) {
    int total = 0;
    for (std::size_t i = 0; i < twelveBytes.size() && i < 12; ++i) {
        const char c = twelveBytes[i];
        const int digit = (c >= '0' && c <= '9') ? c - '0' : 0;
        total += (i % 2 == 0) ? digit : 3 * digit;
    }
    return static_cast<char>('0' + (10 - total % 10) % 10);
}

std::string IsbnWithCheckDigit(std::string_view isbn12) {
    // Twelve bytes as the stored text holds them, not twelve UTF-8 bytes.
    const std::string bytes = platform::ToCp932(isbn12);
    if (bytes.size() != 12) return {};
    return std::string(isbn12) + Ean13CheckDigit(bytes);
}

}  // namespace kashidashi
