#pragma once

#include <cstdint>
#include <string>

// A scan's header values as the RAW file records them in its scan index.
struct ScanHeader {
    double startTime = 0;  // minutes
    double lowMass = 0;    // the scan's m/z range
    double highMass = 0;
    double totalIonCurrent = 0;
    double basePeakMz = 0;
    double basePeakIntensity = 0;
};

// The identification of the instrument that recorded a RAW file; empty
// texts where the file does not say.
struct InstrumentIdentity {
    std::string name;
    std::string model;
    std::string serialNumber;
};

// The header values the scan description does not use, answered beside
// those it does.
struct ScanHeaderAnswer {
    int32_t packets = 0;
    int32_t channels = 0;
    int32_t uniformTime = 0;
    double frequency = 0;
};
