#include "desk/entry_rules.h"

#include <cstdio>

namespace kashidashi::desk {

std::string Digits(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

std::string UserNumber(std::string_view text) {
    std::string digits = Digits(text);
    if (digits.size() == 13) return digits.substr(7);  // a card code ends with the fixed number
    return digits;
}

UserKey UserKeyOf(const std::string& userNumber) {
    if (userNumber.size() == 5) return UserKey::PupilNumber;
    if (userNumber.size() == 6) return UserKey::FixedNumber;
    return UserKey::None;
}

namespace {

bool TakesIsbn(BookField field, const std::string& digits, int isbnLendingMode) {
    if (isbnLendingMode != 0 || digits.size() != 13) return false;
    return field == BookField::Edit14 || digits.starts_with("9784");
}

std::string ShortenLabel(BookField field, std::string digits) {
    if (digits.size() == 13 && field != BookField::Edit14) digits = digits.substr(4);
    if (digits.size() == 12) digits = "1" + digits.substr(5, 6);
    if (digits.size() >= 10) digits = digits.substr(digits.size() - 7);
    return digits;
}

}  // namespace

BookEntry BookEntryOf(BookField field, std::string_view text, int isbnLendingMode) {
    std::string digits = Digits(text);
    if (digits.empty()) return NoBook{};
    if (TakesIsbn(field, digits, isbnLendingMode)) return IsbnKey{digits.substr(0, 12)};
    // At most nine digits remain, so the number always fits.
    return BookNumber{std::stoll(ShortenLabel(field, std::move(digits)))};
}

std::string BookNumberText(int64_t number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.7lld", static_cast<long long>(number));
    return text;
}

}  // namespace kashidashi::desk
