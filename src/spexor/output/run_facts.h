#pragma once

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "spexor/reader/scan_header.h"

// What the writers know about the RAW file being converted. The output file
// set fills the path and name; the file-level facts are read only when a
// writer that describes the file in full is open (mzML), before the first
// scan is converted.
struct RunFacts {
    std::string rawPath;
    std::string baseName;  // the RAW file's name without folder and extension
    int32_t firstScan = 0;
    int32_t lastScan = 0;
    std::optional<double> creationDate;  // automation date: days since 1899-12-30
    InstrumentIdentity instrument;
    // The analyzers the scans name (AnalyzerWordOf their filter texts), in
    // order of first use, each with the ionization word of its first scan.
    struct AnalyzerUse {
        std::string analyzer;
        std::string ionization;
    };
    std::vector<AnalyzerUse> analyzers;
    bool hasMs1Scans = false;
    bool hasMsnScans = false;
    bool hasProfileScans = false;
    // The SHA-1 of the RAW file, worked out on a thread of its own while the
    // conversion starts; invalid when not asked for.
    std::shared_future<std::string> rawSha1;

    // The position of an analyzer word in `analyzers`, or -1.
    int AnalyzerIndex(const std::string& analyzer) const;
};

class RawExtractor;

// Reads the file-level facts from an open reader: the creation date, the
// instrument and the analyzers of the scans `first` to `last`, whose filter
// texts it reads without a console line; and starts the RAW file's SHA-1.
void DescribeRun(RawExtractor& reader, int32_t first, int32_t last, RunFacts& run);

// The analyzer word of a filter text: its first word, "TQMS" for a filter
// that starts with the polarity (a quadrupole's, which names no analyzer).
std::string AnalyzerWordOf(const std::string& filter);
