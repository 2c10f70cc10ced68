#include "rawfile/mass_list_arrays.h"

#include <limits>

namespace rawfile {

Status PutMassList(const std::vector<double>& pairs, platform::VARIANT* massList, platform::VARIANT* peakFlags,
                   int32_t* size) {
    size_t points = pairs.size() / 2;
    if (points > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2)) return kUnsupported;
    *size = static_cast<int32_t>(points);
    if (points == 0) return kOk;
    platform::SAFEARRAY* values =
        platform::SafeArrayCreateVectorCopy(platform::VT_R8, 0, static_cast<uint32_t>(points * 2), pairs.data());
    platform::SAFEARRAY* flags = platform::SafeArrayCreateVector(platform::VT_UI1, 0, static_cast<uint32_t>(points));
    if (values == nullptr || flags == nullptr) {
        platform::SafeArrayDestroy(values);
        platform::SafeArrayDestroy(flags);
        *size = 0;
        return kFailed;
    }
    massList->vt = platform::VT_ARRAY | platform::VT_R8;
    massList->parray = values;
    peakFlags->vt = platform::VT_ARRAY | platform::VT_UI1;
    peakFlags->parray = flags;
    return kOk;
}

}  // namespace rawfile
