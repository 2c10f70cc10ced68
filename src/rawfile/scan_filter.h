#pragma once

// The scan filter of a mass-list request: "ms2" passes only scans of MS order
// 2, "ms3" only order 3 (any "ms<n>" order n), and "ms" or an empty text sets
// no order and passes every scan. A scan that does not pass is answered with
// the next scan after it that passes or, when there is none, the nearest
// before it.

#include <cstdint>
#include <optional>
#include <string_view>

#include "rawfile/backend.h"

namespace rawfile {

struct ScanFilter {
    std::optional<int32_t> msOrder;  // none: every scan passes
};

// Reads a scan filter (blanks around it and letter case ignored). False for
// a text that is not one of the forms above.
bool ParseScanFilter(std::string_view text, ScanFilter* filter);

// The scan that answers a request for `scan`: `scan` itself when it passes
// (or the filter sets no order), else the one named above. kNoSuchScan when
// the asked scan does not exist or no scan passes.
Status AnsweringScan(RawBackend& backend, const ScanFilter& filter, int32_t scan, int32_t* answering);

}  // namespace rawfile
