// The entry rules of the desk's fields: what a scanned or typed text names.
// A barcode reader types its code and Enter; the fields keep only the digits,
// so a label with blanks or dashes names the same number.
//
// Pure functions: no data set is touched here. The ISBN search that a book
// entry may need is the caller's (desk_isbn.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace kashidashi::desk {

// The fields that take a book number.
enum class BookField { Edit4, Edit5, Edit11, Edit14 };

// The characters "0" to "9" of a text, in order.
std::string Digits(std::string_view text);

// A user number: the digits, and of a 13-digit card code its last six. Five
// digits are a pupil number, six a fixed number; other lengths name nobody.
std::string UserNumber(std::string_view text);

enum class UserKey { None, PupilNumber, FixedNumber };
UserKey UserKeyOf(const std::string& userNumber);

// What a book entry names: nothing (no digits), an ISBN to search (its first
// twelve digits, the form the books store), or a book number.
struct NoBook {};
struct IsbnKey {
    std::string isbn12;
};
struct BookNumber {
    int64_t number = 0;
};
using BookEntry = std::variant<NoBook, IsbnKey, BookNumber>;

// The book-number rule of one field. isbnLendingMode 0 lets a 13-digit ISBN
// ("9784..." except in Edit14, which takes any 13 digits) name its title.
// Otherwise: 13 digits keep their last 9 (not in Edit14); 12 digits become
// "1" and their digits 6 to 11; 10 or more keep their last 7.
BookEntry BookEntryOf(BookField field, std::string_view text, int isbnLendingMode);

// A book number as the lists show it: at least seven digits.
std::string BookNumberText(int64_t number);

}  // namespace kashidashi::desk
