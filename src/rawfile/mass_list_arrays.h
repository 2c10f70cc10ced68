#pragma once

// How a mass list leaves the component: the points as one safe array of
// doubles (VT_ARRAY | VT_R8), m/z and intensity for each point in turn, and
// a peak-flags array (VT_ARRAY | VT_UI1, one zero byte per point). A list
// without points leaves both variants empty.

#include <cstdint>
#include <vector>

#include "platform/com.h"
#include "rawfile/backend.h"

namespace rawfile {

// `pairs` holds m/z, intensity, m/z, intensity ... The variants must be
// empty. kFailed when the arrays cannot be made.
Status PutMassList(const std::vector<double>& pairs, platform::VARIANT* massList, platform::VARIANT* peakFlags,
                   int32_t* size);

}  // namespace rawfile
