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

#include "platform/com.h"

namespace rawfile {

using Status = int32_t;
inline constexpr Status kOk = 0;
inline constexpr Status kFailed = 2;         // generic failure of an operation
inline constexpr Status kNoSuchScan = 3;     // scan number outside the file's range
inline constexpr Status kNoSuchLabel = 4;    // trailer label the file does not have
inline constexpr Status kDamaged = 5;        // the data met is damaged or truncated

class RawBackend {
public:
    virtual ~RawBackend() = default;

    virtual Status SetCurrentController(int32_t type, int32_t number) = 0;
    virtual Status GetFirstScan(int32_t* scan) = 0;
    virtual Status GetLastScan(int32_t* scan) = 0;
    // Automation date: days since 1899-12-30, fraction = time of day.
    virtual Status GetCreationDate(double* date) = 0;

    virtual Status GetFilterText(int32_t scan, std::string* text) = 0;
    virtual Status GetRetentionTime(int32_t scan, double* minutes) = 0;
    // MS order of the scan (1, 2, 3 ...), used to apply the mass-list scan filter.
    virtual Status GetMsOrder(int32_t scan, int32_t* order) = 0;
    // The scan's points as stored, as consecutive (m/z, intensity) pairs.
    virtual Status GetMassList(int32_t scan, std::vector<double>* pairs) = 0;
    // One trailer-extra value by its exact label, typed as the file declares it.
    virtual Status GetTrailerValue(int32_t scan, std::string_view label, platform::VARIANT* value) = 0;

    virtual Status Close() = 0;
};

// Opens the file at `path` with the backend its first bytes call for.
// On failure returns null and sets *status to a failure code.
std::unique_ptr<RawBackend> OpenBackend(const std::string& path, Status* status);

}  // namespace rawfile
