#pragma once

#include <cstdint>

#include "platform/com.h"
#include "spexor/reader/mass_list.h"

// Turns the component's answer to a mass-list call into the MassList record,
// the same way for both readers, and releases both variants of the answer.
//
// A failed call, or an answer whose array cannot hold `count` points of
// doubles, prints the mass-list failure line and clears `valid`. An answer
// for another scan than the one asked (the scan does not pass the scan
// filter) sets `count` to -1. Otherwise the `count` points are copied into a
// new array in one block (none when `count` is 0).
void TakeMassListAnswer(MassList& list, bool callSucceeded, int32_t answeredScan, platform::VARIANT& points,
                        platform::VARIANT& flags);
