#include "common/peak_picking.h"

// spexor centres its first window three points right of a start at point 0 or 1.
const int edgeShift = 3;
