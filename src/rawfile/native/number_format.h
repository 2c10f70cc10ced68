#pragma once

// Numbers as Thermo's library writes them in filter texts and trailer
// texts: the value is first rounded to 15 significant digits, and that
// decimal is then rounded to the wanted number of decimals with halves
// going away from zero.

#include <string>

namespace rawfile::native {

inline constexpr int kMostDecimals = 20;

// Writes `value` with `decimals` decimals into *text. False (text untouched)
// for NaN, infinities and decimals outside 0..kMostDecimals.
bool FormatFixed(double value, int decimals, std::string* text);

}  // namespace rawfile::native
