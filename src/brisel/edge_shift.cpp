#include "common/peak_picking.h"

// brisel centres its first window two points right of a start at point 0 or 1.
const int edgeShift = 2;
