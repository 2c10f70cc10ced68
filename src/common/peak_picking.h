#pragma once

#include <cstdint>

#include "common/peak.h"

// Reduces a sampled profile curve to one peak per apex. `out` must have room
// for `n` peaks; `count` receives the number written. `edgeShift` is how far
// to the right of the start point the first window is centred when the
// start point is point 0 or 1; each program has its own (3 in spexor, 2 in
// brisel).
void PickPeaks(Peak* out, int32_t& count, const Peak* points, int32_t n, int edgeShift);

// One peak from points L..R around the apex A (L <= A <= R).
Peak ComputePeak(int32_t left, int32_t apex, int32_t right, const Peak* points);

// m/z of the apex of the Gaussian through three points.
double GaussianApex(const Peak& p0, const Peak& p1, const Peak& p2);
