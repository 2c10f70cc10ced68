#pragma once

#include <cstdint>
#include <memory>

#include "common/peak.h"

// Request and result of RawExtractor::GetMassList. The caller sets `scan`,
// leaves `count` at -1 and `valid` at true; the reader fills the rest.
struct MassList {
    int32_t scan = 0;
    std::unique_ptr<Peak[]> peaks;  // `count` peaks when the scan was answered and count > 0
    int32_t count = -1;             // -1: the component answered with another scan
    bool valid = true;              // false: the component call failed
};
