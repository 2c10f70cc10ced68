#pragma once

// The creation date of a RAW file as the MS1 header shows it.

#include <string>

inline constexpr const char* kInvalidDateTime = "Invalid DateTime";

// Formats an automation date (days since 1899-12-30; the fraction is the
// time of day, also for dates before 1899-12-30) as "%Y-%m-%d %H:%M:%S",
// rounded to the nearest second, without time-zone conversion. A date that
// is not a number or lies outside the years 100 to 9999 gives
// "Invalid DateTime".
std::string FormatCreationDate(double automationDate);
