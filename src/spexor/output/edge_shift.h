#pragma once

// spexor centres its first peak-picking window three points right of a
// start at point 0 or 1.
inline constexpr int edgeShift = 3;
