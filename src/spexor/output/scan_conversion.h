#pragma once

// Reading scans and writing their spectra: the scan loop of one RAW file,
// over any range of its scans and into any writers, so that parts of a file
// can be converted on other threads exactly as the whole file would be.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "spexor/driver/run_settings.h"
#include "spexor/output/format_writer.h"
#include "spexor/output/output_file.h"
#include "spexor/output/output_slots.h"
#include "spexor/output/scan_description.h"
#include "spexor/output/slot_routing.h"

class RawExtractor;

// Where converted scans go: a writer per slot (null for a slot that is not
// written) and the number of records each was handed.
struct ScanSink {
    const ConversionSettings* settings = nullptr;
    RawExtractor* reader = nullptr;
    std::array<FormatWriter*, kOutputSlotCount> writers{};
    std::array<int32_t, kOutputSlotCount> counts{};
    // The peak lines of the record being written, formatted once for every
    // file it goes to (made on first use, with the settings' decimals).
    std::unique_ptr<PeakLines> peakLines;
    // The description of the scan being written, kept from scan to scan.
    ScanDescription description;

    // True when any writer takes spectra of the level.
    bool WritesLevel(ScanLevel level) const;
    // True when a writer of the split files of the level's formats is open.
    bool WritesSplitFilesOf(ScanLevel level) const;
    // True when a writer that describes every scan is open.
    bool DescribesScans() const;
    // True when a writer that takes only scans with a mass list takes the level.
    bool WritesTextOf(ScanLevel level) const;
};

// Writers into texts held in memory, one for each slot asked for: the part
// of a file converted on another thread, until it is put into the files.
struct MemoryWriters {
    std::array<std::unique_ptr<OutputFile>, kOutputSlotCount> texts;
    std::array<std::unique_ptr<FormatWriter>, kOutputSlotCount> writers;

    // Makes a text and its writer for every slot `wanted` marks and binds
    // them into `sink`; `run` tells the writers about the RAW file.
    void Open(const std::array<bool, kOutputSlotCount>& wanted, const ConversionSettings& settings, const RunFacts& run,
              ScanSink& sink);
};

// What the scan loop carries from one scan to the next.
struct LoopState {
    int32_t lastMs1Scan = 0;  // every MS1 scan, written or not, is the precursor scan of later MS2 scans
    int32_t lastMs2Scan = 0;  // followed only for the scans' descriptions: the precursor scan of MS3 scans
    ActivationClass activation = ActivationClass::HCD;
};

// The scan's level, or none when no writer takes it; follows MS1 scans in
// `state`. Exposed for walking ahead of the conversion.
std::optional<ScanLevel> ClassifyScan(ScanSink& sink, int32_t scan, LoopState& state);

// Reads one scan and writes it to every slot it is routed to. Returns false
// when the scan is skipped. Raises platform::FatalError (its line written)
// for an activation that has no files of its own in split mode.
bool ConvertScan(ScanSink& sink, int32_t scan, LoopState& state);

// Converts scans `from` to `to` of a file whose last scan is `last`, with
// the progress line after every hundredth converted scan and the last.
void ConvertScans(ScanSink& sink, int64_t from, int64_t to, int32_t last, LoopState& state);
