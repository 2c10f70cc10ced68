#pragma once

#include <cstdint>
#include <string>

// The text of the closing line of a run ("== == == Time elapsed: 2.5s. ==
// == =="): the milliseconds between start and end, as seconds in the
// default floating-point form (at most six significant digits, trailing
// zeros dropped).
std::string ElapsedTimeText(int64_t startMs, int64_t endMs);
