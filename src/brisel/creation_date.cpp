#include "brisel/creation_date.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30, the day automation dates count from.
constexpr int64_t kAutomationEpochInUnixDays = -25569;
// Keeps the arithmetic far from overflow; the year check below is the real limit.
constexpr double kLargestUsefulDays = 1.0e7;
constexpr int kFirstValidYear = 100;
constexpr int kLastValidYear = 9999;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01.
CivilDate CivilFromUnixDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

std::string FormatCreationDate(double automationDate) {
    if (!std::isfinite(automationDate) || std::fabs(automationDate) > kLargestUsefulDays) return kInvalidDateTime;
    // The whole days count towards the epoch; the fraction is always the time
    // of day, so -1.25 is 1899-12-29 06:00.
    const double wholeDays = std::trunc(automationDate);
    const double timeOfDay = std::fabs(automationDate - wholeDays);
    int64_t days = static_cast<int64_t>(wholeDays);
    int64_t seconds = std::llround(timeOfDay * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;
    }
    const CivilDate date = CivilFromUnixDays(days + kAutomationEpochInUnixDays);
    if (date.year < kFirstValidYear || date.year > kLastValidYear) return kInvalidDateTime;

    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", static_cast<int>(date.year), date.month, date.day,
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return text;
}
