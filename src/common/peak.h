#pragma once

// One point of a mass list or one picked peak. Its layout is one pair of
// doubles, the same as one point of the component's mass-list array, so a
// whole list can be taken over with one block copy.
struct Peak {
    double mz = 0.0;
    double intensity = 0.0;
};

static_assert(sizeof(Peak) == 2 * sizeof(double), "Peak must be a plain pair of doubles");
