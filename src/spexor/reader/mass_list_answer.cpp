#include "spexor/reader/mass_list_answer.h"

#include <cstddef>
#include <cstring>
#include <memory>

#include "spexor/reader/reader_messages.h"

using namespace platform;

namespace {

bool HoldsPointsOfDoubles(const VARIANT& points, int32_t count) {
    if ((points.vt & VT_ARRAY) == 0 || points.parray == nullptr) return false;
    if (SafeArrayElementType(points.parray) != VT_R8) return false;
    return SafeArrayElementCount(points.parray) / 2 >= static_cast<uint32_t>(count);
}

// Copies the points of a successful answer; false when the answer cannot hold them.
bool CopyPoints(MassList& list, int32_t answeredScan, VARIANT& points) {
    if (answeredScan != list.scan) {
        list.count = -1;
        return true;
    }
    if (list.count == 0) return true;
    if (list.count < 0 || !HoldsPointsOfDoubles(points, list.count)) return false;

    void* data = nullptr;
    if (Failed(SafeArrayAccessData(points.parray, &data))) return false;
    const auto count = static_cast<std::size_t>(list.count);
    std::unique_ptr<Peak[]> peaks(new Peak[count]);  // filled at once, so not cleared
    std::memcpy(peaks.get(), data, count * sizeof(Peak));
    SafeArrayUnaccessData(points.parray);
    list.peaks = std::move(peaks);
    return true;
}

}  // namespace

void TakeMassListAnswer(MassList& list, bool callSucceeded, int32_t answeredScan, VARIANT& points, VARIANT& flags) {
    if (!callSucceeded || !CopyPoints(list, answeredScan, points)) {
        ReportMassListFailure(list.scan);
        list.valid = false;
    }
    VariantClear(&points);
    VariantClear(&flags);
}
