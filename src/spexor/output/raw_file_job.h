#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_file.h"
#include "spexor/output/output_slots.h"
#include "spexor/output/format_writer.h"

class RawExtractor;

// Everything about one RAW file's conversion. The driver fills `settings`,
// `rawPath` and `reader`; the extraction run and the output file set fill
// the per-slot fields (indexed by output slot, see output_slots.h).
struct RawFileJob {
    ConversionSettings settings;
    std::string rawPath;
    RawExtractor* reader = nullptr;  // owned by the driver, deleted after the run
    std::array<int32_t, kOutputSlotCount> spectraWritten{};  // records handed to each slot's writer
    std::array<std::string, kOutputSlotCount> outputPaths;   // empty for slots not in use
    std::array<std::unique_ptr<OutputFile>, kOutputSlotCount> streams;
    std::array<std::unique_ptr<SpectrumWriter>, kOutputSlotCount> writers;  // each borrows its slot's stream
    std::array<bool, kOutputSlotCount> slotEnabled{};
};
