#pragma once

#include <string>

// What a run did, counted for its closing summary.
struct BatchTally {
    int rawFiles = 0;                // RAW files converted
    int rawFilesWithoutSpectra = 0;  // of them, those that gave no output file
    int outputsWritten = 0;          // output files left with spectra
    int outputsFailed = 0;           // output files that could not be created or written
    int missingInputs = 0;           // inputs that do not exist
    int inputsWithoutRawFiles = 0;   // inputs (folders ...) that hold no RAW file
};

// "Summary: 3 RAW files converted, 12 output files written." and, where the
// run had any, what it did not convert: "...; 1 RAW file without any
// spectrum, 2 inputs not found."
std::string BatchSummaryText(const BatchTally& tally);
