#pragma once

// Number formatting for the output files, byte for byte what the C printf
// conversions give in the "C" locale, whatever locale the process runs in.
// Each function writes at the given position and returns the end of what it
// wrote; the caller provides room for the stated maximum.

#include <cstddef>
#include <cstdint>

// Room needed by any of the integer forms below.
inline constexpr std::size_t kMaxIntegerChars = 12;
// Room needed by WriteGeneral10.
inline constexpr std::size_t kMaxGeneralChars = 24;

// Room needed by WriteFixed with this number of decimals: a sign, the 309
// integer digits of the largest double, the point and the decimals.
constexpr std::size_t MaxFixedChars(int decimals) {
    return 312 + static_cast<std::size_t>(decimals < 0 ? 0 : decimals);
}

// "%d"
char* WriteInt(char* out, int32_t value);
// "%06d": at least six characters, zero-padded after the sign.
char* WriteZeroPadded6(char* out, int32_t value);
// "%.<decimals>f"; "%f" is six decimals.
char* WriteFixed(char* out, double value, int decimals);
// "%.10g": ten significant digits, trailing zeros dropped, exponent form
// below 1e-4 and from 1e10 on.
char* WriteGeneral10(char* out, double value);
