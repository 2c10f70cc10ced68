#include "spexor/output/number_format.h"

#include <charconv>
#include <cstring>

#include "spexor/output/fixed_format.h"

// std::to_chars is specified to produce exactly what printf gives in the "C"
// locale for the same form and precision, and never consults a locale.

char* WriteInt(char* out, int32_t value) { return std::to_chars(out, out + kMaxIntegerChars, value).ptr; }

char* WriteZeroPadded6(char* out, int32_t value) {
    constexpr int kWidth = 6;
    char digits[kMaxIntegerChars];
    char* digitsEnd = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const char* first = digits;
    if (value < 0) {
        *out++ = '-';
        ++first;
    }
    const int signWidth = value < 0 ? 1 : 0;
    const int digitCount = static_cast<int>(digitsEnd - first);
    for (int pad = kWidth - signWidth - digitCount; pad > 0; --pad) *out++ = '0';
    std::memcpy(out, first, static_cast<std::size_t>(digitCount));
    return out + digitCount;
}

// The exact integer form covers the peak lines' numbers; huge values, long
// decimal tails, infinities and NaN take the general path.
static_assert(MaxFixedChars(0) >= kExactFixedRoom);

char* WriteFixed(char* out, double value, int decimals) {
    if (FitsExactFixed(value, decimals)) return WriteExactFixed(out, value, decimals);
    return std::to_chars(out, out + MaxFixedChars(decimals), value, std::chars_format::fixed, decimals).ptr;
}

char* WriteGeneral10(char* out, double value) {
    return std::to_chars(out, out + kMaxGeneralChars, value, std::chars_format::general, 10).ptr;
}
