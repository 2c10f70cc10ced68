// Kept apart from the pass itself: only a program defines its edge shift,
// so code that names the shift explicitly links without one.
#include "common/peak_picking.h"

void PickPeaks(Peak* out, int32_t& count, const Peak* points, int32_t n) {
    PickPeaksWithShift(out, count, points, n, edgeShift);
}
