#pragma once

#include <ctime>
#include <string>

// A local date and time as the header's CreationDate shows it, in English
// whatever the locale: "Tue Dec 08 12:43:58 2026" (day of month zero-padded).
std::string FormatCreationDate(const std::tm& local);

// The current local date and time in that form.
std::string CurrentCreationDate();
