#pragma once

// The "%.<decimals>f" form of a double computed exactly with integer
// arithmetic, for the numbers a peak line holds: m/z values and intensities
// written with a handful of decimals. The double's binary value m x 2^e is
// scaled by 10^decimals in 128-bit integers, so the digits and the rounding
// (to nearest, exact halves to even, as printf rounds in the default
// rounding mode, the only one the program runs in) come from the exact
// value, never from a decimal approximation of it.

#include <bit>
#include <cstdint>

// Most decimals the exact form takes: 10^19 is the largest power of ten that
// fits 64 bits.
inline constexpr int kMostExactDecimals = 19;
// Room WriteExactFixed uses at most.
inline constexpr int kExactFixedRoom = 48;

// True when WriteExactFixed can write this value with these decimals: a
// finite value below 2^64 in magnitude (zero and the subnormals included),
// 0 to kMostExactDecimals decimals.
inline bool FitsExactFixed(double value, int decimals) {
    constexpr uint64_t kBiasedExponentOf2To64 = 1023 + 64;
    const uint64_t biasedExponent = (std::bit_cast<uint64_t>(value) >> 52) & 0x7ff;
    return biasedExponent < kBiasedExponentOf2To64 && static_cast<unsigned>(decimals) <= kMostExactDecimals;
}

// "%.<decimals>f" of a value FitsExactFixed accepts, byte for byte as printf
// writes it in the "C" locale: a minus sign for every negative value, also
// one that rounds to zero, and for -0. Returns the end of what it wrote: at
// most 1 + 20 + 1 + 19 characters, though digits are stored eight at a time
// and the room used reaches up to 7 characters further (kExactFixedRoom).
char* WriteExactFixed(char* out, double value, int decimals);
