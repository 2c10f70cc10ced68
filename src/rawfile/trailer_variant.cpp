#include "rawfile/trailer_variant.h"

#include <type_traits>

namespace rawfile {

namespace {

constexpr int16_t kVariantTrue = -1;

struct VariantFiller {
    platform::VARIANT& out;

    void operator()(NoTrailerValue) const { out.vt = platform::VT_EMPTY; }
    void operator()(int8_t v) const { Set(platform::VT_I1).cVal = v; }
    void operator()(uint8_t v) const { Set(platform::VT_UI1).bVal = v; }
    void operator()(int16_t v) const { Set(platform::VT_I2).iVal = v; }
    void operator()(uint16_t v) const { Set(platform::VT_UI2).uiVal = v; }
    void operator()(int32_t v) const { Set(platform::VT_I4).lVal = v; }
    void operator()(uint32_t v) const { Set(platform::VT_UI4).ulVal = v; }
    void operator()(float v) const { Set(platform::VT_R4).fltVal = v; }
    void operator()(double v) const { Set(platform::VT_R8).dblVal = v; }
    void operator()(bool v) const { Set(platform::VT_BOOL).boolVal = v ? kVariantTrue : 0; }
    void operator()(const std::string& v) const { Set(platform::VT_BSTR).bstrVal = platform::SysAllocString(v); }
    void operator()(const TaggedTrailerValue& v) const { Set(v.typeTag).ullVal = v.payload; }

    platform::VARIANT& Set(platform::VARTYPE type) const {
        out.vt = type;
        return out;
    }
};

}  // namespace

void PutTrailerVariant(const TrailerValue& value, platform::VARIANT* variant) {
    platform::VariantClear(variant);
    std::visit(VariantFiller{*variant}, value);
}

}  // namespace rawfile
