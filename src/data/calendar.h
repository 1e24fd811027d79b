#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestavian {

// A time on the simulation's calendar: years of 250 days from year 0, months of 25 days and days
// counted from 1, and the clock to the hundredth.
struct CalendarTime {
    std::int64_t year = 0;
    std::int64_t month = 1;
    std::int64_t day = 1;
    std::int64_t hour = 0;
    std::int64_t minute = 0;
    std::int64_t second = 0;
    std::int64_t hundredths = 0;
};

// The calendar time of a time in seconds, to the nearest hundredth; floored, so that a time before
// year 0 still has a month, a day and a clock in range. Nothing for a time too far off to count in
// hundredths.
std::optional<CalendarTime> calendarTimeOf(double seconds);

// "year 2, month 8, day 6, 22:30:46.55"; empty for a time too far off.
std::string calendarText(double seconds);

} // namespace kestavian
