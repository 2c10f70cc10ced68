#pragma once

#include <string>
#include <vector>

// What a run did, counted for its closing summary.
struct BatchTally {
    int rawFiles = 0;                // RAW files converted
    int rawFilesWithoutSpectra = 0;  // of them, those that gave no output file
    int outputsWritten = 0;          // output files left with spectra
    int outputsFailed = 0;           // output files that could not be created or written
    int missingInputs = 0;           // inputs that do not exist
    int inputsWithoutRawFiles = 0;   // inputs (folders ...) that hold no RAW file
    int failedRawFiles = 0;          // RAW files that could not be opened, or none of whose scans could be read
    int unreadableScans = 0;         // scans whose mass list could not be read
    int rawFilesOfTakenNames = 0;    // RAW files skipped for the name of an earlier one
};

// "Summary: 3 RAW files converted, 12 output files written." and, where the
// run had any, what it did not convert: "...; 1 RAW file without any
// spectrum, 2 inputs not found."
std::string BatchSummaryText(const BatchTally& tally);

// The closing lines of a run that did not do all it was asked, one per
// cause ("2 inputs were not found; the run is incomplete."); none for a
// complete run. Skipped files of a taken name and inputs without RAW files
// do not make a run incomplete.
std::vector<std::string> IncompleteRunTexts(const BatchTally& tally);
