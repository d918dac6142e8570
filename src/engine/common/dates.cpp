#include "engine/common/dates.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace engine {
namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian calendar).
int64_t DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr int64_t kEpochShift = 25569;  // days from 1899-12-30 to 1970-01-01

bool ValidCivil(int y, int m, int d) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= lengths[m - 1] + (m == 2 && leap ? 1 : 0);
}

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}

}  // namespace

Date MakeDate(int year, int month, int day) {
    return Date{static_cast<int32_t>(DaysFromCivil(year, month, day) + kEpochShift)};
}

CivilDate ToCivil(Date date) {
    int64_t z = date.days - kEpochShift + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(yoe + era * 400 + (m <= 2)), static_cast<int>(m),
                     static_cast<int>(d)};
}

DateTime MakeDateTime(Date date, int hour, int minute, int second, int msec) {
    return DateTime{date.days * kMsecsPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL +
                    msec};
}

Date DatePart(DateTime value) {
    int64_t days = value.msecs / kMsecsPerDay;
    if (value.msecs < 0 && value.msecs % kMsecsPerDay != 0) --days;
    return Date{static_cast<int32_t>(days)};
}

namespace {
std::optional<DateTime> fixedNow;
}

void SetFixedNow(std::optional<DateTime> moment) {
    fixedNow = moment;
}

Date Today() {
    if (fixedNow) return DatePart(*fixedNow);
    std::tm now = LocalNow();
    return MakeDate(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
}

DateTime Now() {
    if (fixedNow) return *fixedNow;
    std::tm now = LocalNow();
    auto msec = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count() %
                1000;
    return MakeDateTime(MakeDate(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday), now.tm_hour,
                        now.tm_min, now.tm_sec, static_cast<int>(msec));
}

std::string FormatDate(Date date) {
    CivilDate c = ToCivil(date);
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", c.year, c.month, c.day);
    return text;
}

std::string FormatDateTime(DateTime value) {
    Date day = DatePart(value);
    int64_t rest = (value.msecs - day.days * kMsecsPerDay) / 1000;
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return FormatDate(day) + text;
}

std::optional<Date> ParseDate(std::string_view text) {
    int y = 0, m = 0, d = 0, used = 0;
    std::string s(text);
    if (std::sscanf(s.c_str(), "%4d/%2d/%2d%n", &y, &m, &d, &used) != 3 &&
        std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &used) != 3)
        return std::nullopt;
    if (static_cast<size_t>(used) != s.size() || !ValidCivil(y, m, d)) return std::nullopt;
    return MakeDate(y, m, d);
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
    size_t blank = text.find(' ');
    auto date = ParseDate(text.substr(0, blank));
    if (!date) return std::nullopt;
    if (blank == std::string_view::npos) return MakeDateTime(*date);
    int h = 0, n = 0, sec = 0, used = 0;
    std::string time(text.substr(blank + 1));
    int got = std::sscanf(time.c_str(), "%2d:%2d%n:%2d%n", &h, &n, &used, &sec, &used);
    if (got < 2 || static_cast<size_t>(used) != time.size() || h > 23 || n > 59 || sec > 59)
        return std::nullopt;
    return MakeDateTime(*date, h, n, sec);
}

}  // namespace engine
