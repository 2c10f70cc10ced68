#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "spexor/driver/run_settings.h"

class RawExtractor;

inline constexpr int kOutputSlotCount = 29;

// Everything about one RAW file's conversion. The driver fills `settings`,
// `rawPath` and `reader`; the extraction run and the output file set fill
// the rest.
struct RawFileJob {
    ConversionSettings settings;
    std::string rawPath;
    RawExtractor* reader = nullptr;  // owned by the driver, deleted after the run
    std::array<int32_t, kOutputSlotCount> spectraWritten{};
    std::array<std::string, kOutputSlotCount> outputPaths;
    // Output streams, writers and enabled slots are added by the output file set.
};
