#include "data/calendar.h"

#include <cmath>
#include <cstdio>

namespace kestavian {

std::optional<CalendarTime> calendarTimeOf(double seconds) {
    if (!(std::abs(seconds) < 9.0e15))
        return std::nullopt;
    constexpr std::int64_t PerDay = 24 * 3600 * 100;
    constexpr std::int64_t PerMonth = 25 * PerDay;
    constexpr std::int64_t PerYear = 250 * PerDay;
    const std::int64_t hundredths = std::llround(seconds * 100);
    CalendarTime time;
    time.year = hundredths / PerYear;
    if (hundredths % PerYear < 0)
        --time.year;
    std::int64_t rest = hundredths - time.year * PerYear;
    time.month = rest / PerMonth + 1;
    rest %= PerMonth;
    time.day = rest / PerDay + 1;
    rest %= PerDay;
    time.hour = rest / 360000;
    time.minute = rest / 6000 % 60;
    time.second = rest / 100 % 60;
    time.hundredths = rest % 100;
    return time;
}

std::string calendarText(double seconds) {
    const std::optional<CalendarTime> t = calendarTimeOf(seconds);
    if (!t)
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "year %lld, month %lld, day %lld, %02lld:%02lld:%02lld.%02lld",
                  static_cast<long long>(t->year), static_cast<long long>(t->month),
                  static_cast<long long>(t->day), static_cast<long long>(t->hour),
                  static_cast<long long>(t->minute), static_cast<long long>(t->second),
                  static_cast<long long>(t->hundredths));
    return text;
}

} // namespace kestavian
