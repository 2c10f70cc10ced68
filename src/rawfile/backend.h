#pragma once

// What our RAW reader component asks of the file behind it. The component
// (rawfile/component.h) turns these answers into its control and interface
// forms; a backend only knows its file. Two backends exist: the text fixture
// (rawfile/fixture/) and real Thermo RAW files (rawfile/native/).
//
// Every call returns a status: 0 success, a positive failure code, or (only
// where a fixture scripts it) a negative component error.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rawfile/trailer_value.h"

namespace rawfile {

using Status = int32_t;
inline constexpr Status kOk = 0;
inline constexpr Status kScriptedFailure = 1;  // a fixture's failure without a code of its own
inline constexpr Status kFailed = 2;           // generic failure of an operation
inline constexpr Status kNoSuchScan = 3;       // scan number outside the file's range
inline constexpr Status kNoSuchLabel = 4;      // trailer label the file does not have
inline constexpr Status kDamaged = 5;          // the data met is damaged or truncated
inline constexpr Status kNotOpen = 6;          // no file is open
inline constexpr Status kUnsupported = 7;      // a request the component does not serve
inline constexpr Status kNotRawFile = 8;       // the file is neither a RAW file nor a fixture
inline constexpr Status kCannotRead = 9;       // the file cannot be opened or read

// A scan's header values as the scan index records them.
struct ScanHeaderValues {
    int32_t packetCount = 0;  // points or peaks stored
    double startTime = 0;     // minutes
    double lowMass = 0;       // the scan's m/z range
    double highMass = 0;
    double totalIonCurrent = 0;
    double basePeakMass = 0;
    double basePeakIntensity = 0;
    int32_t channelCount = 0;
    bool uniformTime = false;
    double frequency = 0;
};

// The identification texts of the instrument that recorded the file.
struct InstrumentTexts {
    std::string name;
    std::string model;
    std::string serialNumber;
};

class RawBackend {
public:
    virtual ~RawBackend() = default;

    virtual Status SetCurrentController(int32_t type, int32_t number) = 0;
    virtual Status GetFirstScan(int32_t* scan) = 0;
    virtual Status GetLastScan(int32_t* scan) = 0;
    // The scan range for the component's own use (the mass-list scan
    // filter's search); never a scripted failure. By default the two above.
    virtual Status GetScanRange(int32_t* first, int32_t* last) {
        Status status = GetFirstScan(first);
        return status != kOk ? status : GetLastScan(last);
    }
    // Automation date: days since 1899-12-30, fraction = time of day.
    virtual Status GetCreationDate(double* date) = 0;

    virtual Status GetFilterText(int32_t scan, std::string* text) = 0;
    virtual Status GetRetentionTime(int32_t scan, double* minutes) = 0;
    // MS order of the scan (1, 2, 3 ...), used to apply the mass-list scan filter.
    virtual Status GetMsOrder(int32_t scan, int32_t* order) = 0;
    // The scan's points as stored, as consecutive (m/z, intensity) pairs.
    virtual Status GetMassList(int32_t scan, std::vector<double>* pairs) = 0;
    // One trailer-extra value by its exact label, typed as the file declares it.
    virtual Status GetTrailerValue(int32_t scan, std::string_view label, TrailerValue* value) = 0;

    // The scan's header values; kUnsupported where the backend has none.
    virtual Status GetScanHeader(int32_t /*scan*/, ScanHeaderValues* /*values*/) { return kUnsupported; }
    // The instrument's texts; kUnsupported where the backend has none.
    virtual Status GetInstrumentTexts(InstrumentTexts* /*texts*/) { return kUnsupported; }

    virtual Status Close() = 0;
};

// Opens the file at `path` with the backend its first bytes call for: a RAW
// fixture when its first line is "rawfixture 1", a Thermo RAW file when its
// first bytes say so. On failure returns null, sets *status to a failure
// code and, when `error` is given, a one-line reason.
std::unique_ptr<RawBackend> OpenBackend(const std::string& path, Status* status, std::string* error = nullptr);

}  // namespace rawfile
