#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/peak.h"

struct ScanDescription;

// One scan on its way from the extraction run to the writers it is routed
// to. The MS2/MS3-only fields keep their initial values in an MS1 record.
struct SpectrumRecord {
    int32_t scanNumber = -1;
    std::unique_ptr<Peak[]> peaks;  // `peakCount` peaks, copied or picked from the mass list
    int32_t peakCount = 0;
    double retentionTime = 0.0;     // seconds
    double ionInjectionTime = 0.0;  // milliseconds
    std::string instrumentType;     // analyzer, e.g. "FTMS" or "ITMS"
    std::string activationType;     // upper case, e.g. "HCD"; MS2 and MS3 only
    int32_t precursorScan = -1;     // MS2: the last MS1 scan before it (0 when none); MS3: 0
    double activationCenter = 0.0;  // precursor m/z from the filter text
    double monoisotopicMz = 0.0;    // from the trailer; 0 when the scan has none
    int32_t chargeMin = 2;
    int32_t chargeMax = 3;
    // The scan in full, for the writers that describe every scan (mzML);
    // null when none is open. Only such writers are handed a record whose
    // mass list was empty or could not be read.
    const ScanDescription* description = nullptr;
};

// The precursor m/z written for a record: the monoisotopic m/z when isotope
// mode is on and the scan has one, else the filter text's precursor m/z.
inline double PrecursorMz(const SpectrumRecord& record, bool isotopeMode) {
    return isotopeMode && record.monoisotopicMz > 0.0 ? record.monoisotopicMz : record.activationCenter;
}
