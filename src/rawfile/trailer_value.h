#pragma once

// A trailer-extra value as a backend answers it: typed as the file declares
// it, in plain C++ types. Only the component turns it into its VARIANT form
// (trailer_variant.h), where each alternative has its type tag: int8_t
// VT_I1, uint8_t VT_UI1, int16_t VT_I2, uint16_t VT_UI2, int32_t VT_I4,
// uint32_t VT_UI4, float VT_R4, double VT_R8, bool VT_BOOL, std::string
// VT_BSTR; NoTrailerValue (a heading without a value) VT_EMPTY.

#include <cstdint>
#include <string>
#include <variant>

namespace rawfile {

struct NoTrailerValue {
    bool operator==(const NoTrailerValue&) const = default;
};

// A value of a type tag the alternatives above do not name (a RAW fixture
// may script any tag): the tag's number and its 64-bit payload.
struct TaggedTrailerValue {
    uint16_t typeTag = 0;
    uint64_t payload = 0;
    bool operator==(const TaggedTrailerValue&) const = default;
};

using TrailerValue = std::variant<NoTrailerValue, int8_t, uint8_t, int16_t, uint16_t, int32_t, uint32_t, float, double,
                                  bool, std::string, TaggedTrailerValue>;

}  // namespace rawfile
