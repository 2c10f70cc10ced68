#pragma once

#include <vector>

#include "spexor/driver/run_settings.h"
#include "spexor/output/filter_facts.h"
#include "spexor/output/mzml_arrays.h"
#include "spexor/output/output_file.h"
#include "spexor/output/run_facts.h"
#include "spexor/output/scan_record.h"

struct ScanDescription;

// Writes one <spectrum> element of an mzML file from a record and its
// description: what the scan is, its scan and precursors as the RAW file
// records them, and its peaks as the run writes them (as stored, or picked
// from a profile scan).
class SpectrumElementWriter {
public:
    SpectrumElementWriter(const ConversionSettings& settings, const RunFacts& run);
    // From "<spectrum" to the line end after "</spectrum>".
    void Put(OutputFile& out, const SpectrumRecord& record);

private:
    void PutSpectrumParams(OutputFile& out, const ScanDescription& scan);
    void PutScan(OutputFile& out, const SpectrumRecord& record, const ScanDescription& scan);
    void PutPrecursors(OutputFile& out, const ScanDescription& scan);
    void PutPrecursor(OutputFile& out, const ScanDescription& scan, double target, bool own);
    void PutActivation(OutputFile& out, const PrecursorStage* stage);

    const ConversionSettings& settings_;
    const RunFacts& run_;
    FilterFacts facts_;
    BinaryArrayWriter arrays_;
    std::vector<double> spsMasses_;
    std::vector<Peak> merged_;  // a centroid scan's peaks with repeated m/z merged
};
