#include "spexor/reader/trailer_value.h"

#include <cstdint>

#include "spexor/console/console_lines.h"
#include "spexor/reader/reader_messages.h"

using namespace platform;

namespace {

double TrailerValueAsDouble(const VARIANT& value) {
    switch (value.vt) {
        case VT_R4: return static_cast<double>(value.fltVal);
        case VT_R8: return value.dblVal;
        default: console::ReportException("Unknown trailer extra type!"); return 0.0;
    }
}

int TrailerValueAsInt(const VARIANT& value) {
    const std::optional<int64_t> integer = VariantInteger(value);
    if (!integer) {
        console::ReportException("Unknown varValue type.!");
        return 0;
    }
    // The 32-bit types as they stand, the low 32 bits of the 64-bit ones.
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(*integer) & 0xFFFFFFFFu));
}

}  // namespace

std::optional<int64_t> VariantInteger(const VARIANT& value) {
    switch (value.vt) {
        case VT_I1: return value.cVal;
        case VT_I2: return value.iVal;
        case VT_UI1: return value.bVal;
        case VT_UI2: return value.uiVal;
        case VT_I4:
        case VT_INT: return value.lVal;
        case VT_UI4:
        case VT_UINT: return value.ulVal;
        case VT_I8:
        case VT_UI8: return static_cast<int64_t>(value.ullVal);
        default: return std::nullopt;
    }
}

double TakeTrailerDouble(bool callSucceeded, VARIANT& value, const std::string& label, int scan) {
    double answer = 0.0;
    if (callSucceeded) {
        answer = TrailerValueAsDouble(value);
    } else {
        ReportTrailerDoubleFailure(label, scan);
    }
    VariantClear(&value);
    return answer;
}

int TakeTrailerInt(bool callSucceeded, VARIANT& value, const std::string& label, int scan) {
    int answer = 0;
    if (callSucceeded) {
        answer = TrailerValueAsInt(value);
    } else {
        ReportTrailerIntFailure(label, scan);
    }
    VariantClear(&value);
    return answer;
}
