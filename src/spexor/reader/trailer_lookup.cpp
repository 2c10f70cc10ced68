// Trailer values looked up without a message: for describing a scan, where
// most labels are optional and their absence is no failure.
#include <optional>
#include <string>

#include "platform/com.h"
#include "spexor/reader/raw_extractor.h"

using namespace platform;

namespace {

std::optional<double> NumberOf(const VARIANT& value) {
    switch (value.vt) {
        case VT_R4: return static_cast<double>(value.fltVal);
        case VT_R8: return value.dblVal;
        case VT_I1: return value.cVal;
        case VT_I2: return value.iVal;
        case VT_UI1: return value.bVal;
        case VT_UI2: return value.uiVal;
        case VT_I4:
        case VT_INT: return value.lVal;
        case VT_UI4:
        case VT_UINT: return value.ulVal;
        case VT_BOOL: return value.boolVal != 0 ? 1.0 : 0.0;
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<double> RawExtractor::FindTrailerNumber(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    std::optional<double> number;
    if (FindTrailerValue(scan, label, value)) number = NumberOf(value);
    VariantClear(&value);
    return number;
}

std::optional<std::string> RawExtractor::FindTrailerText(int scan, const std::string& label) {
    VARIANT value;
    VariantInit(&value);
    std::optional<std::string> text;
    if (FindTrailerValue(scan, label, value) && value.vt == VT_BSTR) {
        text = value.bstrVal != nullptr ? std::string(value.bstrVal) : std::string();
    }
    VariantClear(&value);
    return text;
}
