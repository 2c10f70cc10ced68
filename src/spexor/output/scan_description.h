#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "spexor/reader/scan_header.h"

class RawExtractor;

// What the reader answers about a scan beyond what the text formats use,
// for a format that describes every scan in full (mzML). Read only when
// such a writer is open, and without console lines: most of it is
// optional, and its absence is no failure.
struct ScanDescription {
    std::string filter;  // empty when it could not be read
    int32_t msLevel = 1;
    std::optional<ScanHeader> header;
    bool massListRead = true;  // false: the mass list could not be read, and the record holds no peaks
    bool storedAsCentroid = false;
    std::optional<double> ionInjectionTime;  // milliseconds
    double monoisotopicMz = 0;               // 0 when the trailer has none
    int32_t chargeState = 0;                 // 0 when not known
    std::optional<double> isolationWidth;    // the whole window's width
    std::optional<double> faimsCompensationVoltage;
    std::string spsMasses;      // the trailer's SPS masses, comma-separated, as written there
    int32_t precursorScan = 0;  // the scan the precursor was isolated from; 0 when none is known
};

// The last scan of each of the lower MS levels before a scan, as the scan
// loop follows them (0: none).
struct PrecedingScans {
    int32_t ms1 = 0;
    int32_t ms2 = 0;
};

// The MS level a filter text names ("ms" 1, "ms2" 2 ...); 1 when it names none.
int32_t MsLevelOfFilter(const std::string& filter);

// Fills `description` for the scan; `massListRead` is whether its mass
// list could be read.
void DescribeScan(RawExtractor& reader, int32_t scan, const PrecedingScans& preceding, bool massListRead,
                  ScanDescription& description);
