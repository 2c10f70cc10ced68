#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "spexor/driver/run_settings.h"
#include "spexor/output/format_writer.h"
#include "spexor/output/output_file.h"
#include "spexor/output/output_slots.h"
#include "spexor/output/run_facts.h"

class RawExtractor;

// One open output file of a job: where it is, the file, the writer bound
// to it and how many records the writer was handed.
struct OpenOutput {
    std::string path;
    std::unique_ptr<OutputFile> file;
    std::unique_ptr<FormatWriter> writer;  // borrows `file`; declared after it, so destroyed first
    int32_t spectraWritten = 0;
};

// Everything about one RAW file's conversion. The driver fills `settings`,
// `rawPath` and `reader`; the output file set fills `outputs`, one entry
// per slot of OutputSlots() (empty for a slot that is not written).
struct RawFileJob {
    ConversionSettings settings;
    std::string rawPath;
    RawExtractor* reader = nullptr;  // owned by the driver, deleted after the run
    // Threads the file's scans may be converted on, and how to make a
    // reader of the driver's kind for each (none: one thread).
    int threads = 1;
    std::function<std::unique_ptr<RawExtractor>()> makeReader;
    std::array<std::optional<OpenOutput>, kOutputSlotCount> outputs;
    // What the writers know about the RAW file; they borrow it.
    RunFacts run;
    // Output files (the marker included) that could not be created or
    // written; each was reported when it failed.
    int failedOutputs = 0;
    // Output files left with spectra when the outputs were closed.
    int writtenOutputs = 0;
};
