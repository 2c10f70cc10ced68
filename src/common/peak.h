#pragma once

// One point of a mass list or one picked peak. Its layout is one pair of
// doubles, the same as one point of the component's mass-list array, so a
// whole list can be taken over with one block copy. Left uninitialised
// when made without values (`Peak{}` is zero), so an array about to be
// filled is not cleared first.
struct Peak {
    double mz;
    double intensity;
};

static_assert(sizeof(Peak) == 2 * sizeof(double), "Peak must be a plain pair of doubles");
