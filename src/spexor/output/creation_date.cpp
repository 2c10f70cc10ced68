#include "spexor/output/creation_date.h"

#include <cstdio>

namespace {

const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* NameOr(const char* const* names, int count, int index) {
    return index >= 0 && index < count ? names[index] : "???";
}

}  // namespace

std::string FormatCreationDate(const std::tm& local) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d", NameOr(kWeekdays, 7, local.tm_wday),
                  NameOr(kMonths, 12, local.tm_mon), local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_year + 1900);
    return text;
}

std::string CurrentCreationDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatCreationDate(local);
}
