#include "spexor/driver/elapsed_time.h"

#include <cstdio>

std::string ElapsedTimeText(int64_t startMs, int64_t endMs) {
    const double seconds = static_cast<double>(endMs - startMs) / 1000.0;
    char number[64];
    std::snprintf(number, sizeof number, "%g", seconds);
    return std::string("== == == Time elapsed: ") + number + "s. == == ==";
}
