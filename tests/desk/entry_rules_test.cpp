// The entry rules of every desk field, as one table of cases: what a scan or
// a typed text names in each field and ISBN mode.
#include <gtest/gtest.h>

#include "desk/control_codes.h"
#include "desk/entry_rules.h"

namespace desk_test {
namespace {

using namespace kashidashi::desk;

struct BookCase {
    BookField field;
    int isbnMode;
    const char* text;
    const char* expected;  // "" nothing, "isbn:<12>" an ISBN, else the book number
};

std::string Describe(const BookEntry& entry) {
    if (std::holds_alternative<NoBook>(entry)) return "";
    if (auto* isbn = std::get_if<IsbnKey>(&entry)) return "isbn:" + isbn->isbn12;
    return std::to_string(std::get<BookNumber>(entry).number);
}

TEST(EntryRules, BookNumbersOfEveryField) {
    const std::string longScan(200, '7');
    const BookCase cases[] = {
        {BookField::Edit4, 0, "4321", "4321"},
        {BookField::Edit4, 0, "0004321", "4321"},
        {BookField::Edit4, 0, "0000000004321", "4321"},       // 13 digits, no ISBN: last 9
        {BookField::Edit4, 0, "987654321098", "1432109"},     // 12 digits
        {BookField::Edit4, 0, "98765432109", "5432109"},      // 11 digits: last 7
        {BookField::Edit5, 0, "9876543210987", "543210987"},  // 13, not 9784
        {BookField::Edit11, 0, "9876543210987", "543210987"},
        {BookField::Edit14, 1, "9876543210987", "3210987"},  // no 13-digit step
        {BookField::Edit4, 0, "9781234567897", "234567897"},   // a foreign ISBN: last 9
        {BookField::Edit5, 0, "9781234567897", "234567897"},
        {BookField::Edit11, 0, "9781234567897", "234567897"},
        {BookField::Edit4, 0, "9784123456789", "isbn:978412345678"},
        {BookField::Edit5, 0, "9784123456789", "isbn:978412345678"},
        {BookField::Edit11, 0, "9784123456789", "isbn:978412345678"},
        {BookField::Edit14, 0, "9876543210987", "isbn:987654321098"},  // any 13 digits
        {BookField::Edit4, 1, "9784123456789", "123456789"},           // ISBN lending off
        {BookField::Edit4, 0, "978-4-12-345678-9", "isbn:978412345678"},
        {BookField::Edit4, 0, "", ""},
        {BookField::Edit4, 0, "ABC", ""},
        {BookField::Edit4, 0, "１２３４", ""},  // full-width digits are no digits
        {BookField::Edit5, 0, longScan.c_str(), "7777777"},
        {BookField::Edit4, 0, "123456789", "123456789"},
        {BookField::Edit4, 0, "1234567890", "4567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(BookEntryOf(c.field, c.text, c.isbnMode)), c.expected)
            << "field " << static_cast<int>(c.field) << " mode " << c.isbnMode << " text "
            << c.text;
}

TEST(EntryRules, UserNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"10101", "10101"},      {"100001", "100001"}, {"1234567100001", "100001"},
        {"A-100-001", "100001"}, {"4321", "4321"},     {"", ""},
        {"RETURN", ""},          {"１０１０１", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(UserNumber(text), expected) << text;
    EXPECT_EQ(UserKeyOf("10101"), UserKey::PupilNumber);
    EXPECT_EQ(UserKeyOf("100001"), UserKey::FixedNumber);
    EXPECT_EQ(UserKeyOf("4321"), UserKey::None);
    EXPECT_EQ(UserKeyOf(std::string(200, '1')), UserKey::None);
}

TEST(EntryRules, ControlCodes) {
    EXPECT_EQ(ControlCodeOf("RETURN"), ControlCode::Return);
    EXPECT_EQ(ControlCodeOf("return"), ControlCode::Return);
    EXPECT_EQ(ControlCodeOf("Lending"), ControlCode::Lending);
    EXPECT_EQ(ControlCodeOf("ACTION"), ControlCode::Action);
    EXPECT_EQ(ControlCodeOf("cancel"), ControlCode::Cancel);
    EXPECT_EQ(ControlCodeOf("ACTION1"), ControlCode::None);
    EXPECT_EQ(ExactControlCodeOf("action"), ControlCode::None);
    EXPECT_EQ(ExactControlCodeOf("CANCEL"), ControlCode::Cancel);
    EXPECT_EQ(BookNumberText(4321), "0004321");
    EXPECT_EQ(BookNumberText(123456789), "123456789");
}

}  // namespace
}  // namespace desk_test
