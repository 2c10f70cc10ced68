#pragma once

#include <cstdint>
#include <string>

// The closing line of a run: the milliseconds between start and end, as
// seconds in the default floating-point form (at most six significant
// digits, trailing zeros dropped).
std::string ElapsedTimeLine(int64_t startMs, int64_t endMs);
