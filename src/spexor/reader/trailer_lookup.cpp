// Trailer values looked up without a message: for describing a scan, where
// most labels are optional and their absence is no failure.
#include <optional>
#include <string>

#include "platform/com.h"
#include "spexor/reader/raw_extractor.h"
#include "spexor/reader/trailer_value.h"

using namespace platform;

namespace {

std::optional<double> NumberOf(const VARIANT& value) {
    switch (value.vt) {
        case VT_R4: return static_cast<double>(value.fltVal);
        case VT_R8: return value.dblVal;
        case VT_BOOL: return value.boolVal != 0 ? 1.0 : 0.0;
        default: break;
    }
    const std::optional<int64_t> integer = VariantInteger(value);
    if (!integer) return std::nullopt;
    return static_cast<double>(*integer);
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
