#pragma once

// What a scan's filter text says that an mzML spectrum names: polarity,
// ionization, scan windows and the precursor stages with their activations.
// Texts point into the filter text, which must outlive the facts; the
// lists keep their room from scan to scan.

#include <string_view>
#include <vector>

struct FilterActivation {
    std::string_view name;  // "cid", "hcd", "etd" ...
    double energy = 0;
    bool hasEnergy = false;
};

// One precursor stage: "810.79@cid35.00", "1064.52@etd25.00@hcd20.00", or
// an SRM precursor without activation, "149.000". A stage with
// supplemental activation holds two activations.
struct PrecursorStage {
    double mz = 0;
    std::string_view mzText;
    std::vector<FilterActivation> activations;
};

struct MzWindow {
    double low = 0;
    double high = 0;
};

struct FilterFacts {
    char polarity = 0;  // '+', '-', or 0 when the text names none
    std::string_view ionization;
    bool sps = false;  // synchronous precursor selection: the last stage isolates several precursors
    std::vector<MzWindow> windows;
    std::vector<PrecursorStage> stages;  // in MSn order; the last is the scan's own precursor
    int stageCount = 0;                  // stages in use (the list keeps room beyond)

    const PrecursorStage* LastStage() const { return stageCount > 0 ? &stages[stageCount - 1] : nullptr; }
};

// "ms" or "ms2", "ms3" ...: the word that names a scan's MS order, after
// which the precursor stages come.
bool IsMsOrderWord(std::string_view word);

// Reads `filter` into `facts`.
void ReadFilterFacts(std::string_view filter, FilterFacts& facts);
