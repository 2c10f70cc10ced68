#pragma once

// brisel centres its first peak-picking window two points right of a start
// at point 0 or 1.
inline constexpr int edgeShift = 2;
