// Calendar dates and date-and-time values, and their text forms. Every date
// shown or parsed as text uses the short date format "yyyy/mm/dd"; a
// date-and-time shows as "yyyy/mm/dd hh:nn:ss".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/common/value.h"

namespace engine {

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

Date MakeDate(int year, int month, int day);
CivilDate ToCivil(Date date);
DateTime MakeDateTime(Date date, int hour = 0, int minute = 0, int second = 0, int msec = 0);
Date DatePart(DateTime value);
Date Today();
DateTime Now();
// Makes Today and Now report `moment` instead of the system clock (nothing:
// the clock again). The replay of stored scans sets each scan's time stamp.
void SetFixedNow(std::optional<DateTime> moment);

std::string FormatDate(Date date);           // yyyy/mm/dd
std::string FormatDateTime(DateTime value);  // yyyy/mm/dd hh:nn:ss
// Accepts yyyy/mm/dd (also yyyy-mm-dd, and one-digit month or day); nothing
// for a text that is no valid date.
std::optional<Date> ParseDate(std::string_view text);
// Accepts a date, optionally followed by hh:nn[:ss].
std::optional<DateTime> ParseDateTime(std::string_view text);

}  // namespace engine
