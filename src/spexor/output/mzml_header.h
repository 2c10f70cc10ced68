#pragma once

#include <cstdint>
#include <string>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_file.h"
#include "spexor/output/run_facts.h"

// The ids the header gives and the spectra refer to.
inline constexpr const char* kConversionProcessingId = "spexor_conversion";
inline constexpr const char* kPeakPickingProcessingId = "spexor_peak_picking";

// Whether the run's spectra include peak-picked profile scans.
bool PicksPeaks(const RunFacts& run, const ConversionSettings& settings);

// Everything an indexed mzML file holds before its first spectrum, down to
// the opening <spectrumList> of `spectrumCount` spectra. `rawSha1` is the
// digest of the RAW file (empty when it could not be read).
void PutMzmlHeader(OutputFile& out, const RunFacts& run, const ConversionSettings& settings, const std::string& rawSha1,
                   int64_t spectrumCount);

// The instrument configuration id of the analyzer at `index` in the run's
// analyzers: "IC1", "IC2" ...
std::string InstrumentConfigurationId(int index);
