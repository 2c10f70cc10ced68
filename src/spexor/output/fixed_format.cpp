#include "spexor/output/fixed_format.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "the digit words are stored as little-endian bytes");

namespace {

// The steps of the common path are inlined into WriteExactFixed.
#define ALWAYS_INLINE [[gnu::always_inline]] inline

__extension__ using uint128 = unsigned __int128;

// 10^0 to 10^19.
constexpr auto kPowersOfTen = [] {
    std::array<uint64_t, kMostExactDecimals + 1> powers{1};
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = 10 * powers[i - 1];
    return powers;
}();
constexpr uint64_t kTenTo8 = 100000000;

// A finite double's magnitude as mantissa x 2^exponent, the mantissa an
// integer below 2^53.
struct BinaryValue {
    uint64_t mantissa;
    int exponent;
};

ALWAYS_INLINE BinaryValue Decompose(uint64_t bits) {
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7ff);
    if (biasedExponent == 0) return {fraction, -1074};  // subnormal
    return {fraction | (uint64_t{1} << 52), biasedExponent - 1075};
}

// The magnitude times 10^decimals rounded to an integer, split at the point:
// the whole part and the `decimals` digits after it.
struct ScaledValue {
    uint64_t whole;
    uint64_t decimals;
};

// Rounding to nearest, an exact half to the even neighbour: `digits` is the
// part kept, `beyond` and `half` the part dropped and half a unit of the
// last place kept, in the same scale. Written without a branch on the
// dropped part, which is as likely below half as above. A carry out of the
// decimals goes to the whole part.
template <typename Remainder>
ALWAYS_INLINE ScaledValue Round(uint64_t whole, uint64_t digits, Remainder beyond, Remainder half, int decimals) {
    const uint64_t lastPlaceOdd = (decimals == 0 ? whole : digits) & 1;
    digits += beyond > half - lastPlaceOdd ? 1 : 0;
    if (digits == kPowersOfTen[decimals]) return {whole + 1, 0};
    return {whole, digits};
}

// A value mantissa / 2^shift with 1 <= shift <= 64: the fractional part,
// shifted up to a 64-bit binary fraction, is exact; times 10^decimals, its
// high word holds the decimals and its low word what lies beyond them.
ALWAYS_INLINE ScaledValue ScaleFraction(uint64_t mantissa, int shift, int decimals) {
    const uint64_t whole = (mantissa >> (shift - 1)) >> 1;
    const uint64_t fraction = mantissa << (64 - shift);
    const uint128 product = static_cast<uint128>(fraction) * kPowersOfTen[decimals];
    const uint64_t high = static_cast<uint64_t>(product >> 64);
    return Round(whole, high, static_cast<uint64_t>(product), uint64_t{1} << 63, decimals);
}

// A value below 2^-11 (shift > 64, the mantissa below 2^53), subnormals
// among them: mantissa x 10^decimals < 2^117 and the
// part beyond the decimals are kept in 128 bits. Below 2^-75, even 19
// decimals stay far below half a unit of the last place.
ScaledValue ScaleSmallFraction(uint64_t mantissa, int shift, int decimals) {
    if (shift >= 128) return {0, 0};
    const uint128 product = static_cast<uint128>(mantissa) * kPowersOfTen[decimals];
    const uint64_t digits = static_cast<uint64_t>(product >> shift);
    const uint128 beyond = product & ((uint128{1} << shift) - 1);
    return Round(0, digits, beyond, uint128{1} << (shift - 1), decimals);
}

ALWAYS_INLINE ScaledValue Scale(BinaryValue value, int decimals) {
    if (value.exponent >= 0) return {value.mantissa << value.exponent, 0};
    const int shift = -value.exponent;
    if (shift <= 64) return ScaleFraction(value.mantissa, shift, decimals);
    return ScaleSmallFraction(value.mantissa, shift, decimals);
}

// The eight decimal digits of n < 10^8 as byte values 0-9, the most
// significant in the lowest byte (first in memory): n is split into two
// halves of four digits in 32-bit lanes, each into two of two digits in
// 16-bit lanes, each into single digits in bytes, dividing by 10^4, 100 and
// 10 with multiplications exact in these ranges.
ALWAYS_INLINE uint64_t EightDigitValues(uint64_t n) {
    const uint64_t fours = n / 10000 | (n % 10000) << 32;
    const uint64_t hundreds = ((fours * 10486) >> 20) & 0x0000007f0000007full;
    const uint64_t twos = hundreds | (fours - hundreds * 100) << 16;
    const uint64_t tens = ((twos * 103) >> 10) & 0x000f000f000f000full;
    return tens | (twos - tens * 10) << 8;
}

struct DigitWords {
    uint64_t first;
    uint64_t second;
};

// EightDigitValues of two numbers below 10^8, with SSE2 both at once: the
// same splits, by 10^4 in 64-bit lanes (x 0xd1b71759 / 2^45), by 100 and 10
// in 16-bit lanes (x 5243 / 2^19, x 6554 / 2^16). Every input below 10^8
// gives the digits EightDigitValues gives.
ALWAYS_INLINE DigitWords EightDigitValuesOfEach(uint64_t first, uint64_t second) {
#if defined(__SSE2__)
    const __m128i n = _mm_set_epi64x(static_cast<long long>(second), static_cast<long long>(first));
    const __m128i over10000 = _mm_srli_epi64(_mm_mul_epu32(n, _mm_set1_epi32(static_cast<int>(0xd1b71759))), 45);
    const __m128i fours =
        _mm_or_si128(over10000, _mm_slli_epi64(_mm_sub_epi32(n, _mm_mul_epu32(over10000, _mm_set1_epi32(10000))), 32));
    const __m128i over100 = _mm_srli_epi16(_mm_mulhi_epu16(fours, _mm_set1_epi16(5243)), 3);
    const __m128i twos =
        _mm_or_si128(over100, _mm_slli_epi32(_mm_sub_epi16(fours, _mm_mullo_epi16(over100, _mm_set1_epi16(100))), 16));
    const __m128i tens = _mm_mulhi_epu16(twos, _mm_set1_epi16(6554));
    const __m128i digits =
        _mm_or_si128(tens, _mm_slli_epi16(_mm_sub_epi16(twos, _mm_mullo_epi16(tens, _mm_set1_epi16(10))), 8));
    return {static_cast<uint64_t>(_mm_cvtsi128_si64(digits)),
            static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(digits, digits)))};
#else
    return {EightDigitValues(first), EightDigitValues(second)};
#endif
}

// Stores a whole word of digit characters; the callers advance by the
// digits that count, the characters after them are overwritten or left in
// the room the caller provides.
ALWAYS_INLINE void StoreDigits(char* out, uint64_t digitValues) {
    const uint64_t characters = digitValues + 0x3030303030303030ull;
    std::memcpy(out, &characters, sizeof characters);
}

// A word of eight digits without its leading zeros; all zeros as "0".
ALWAYS_INLINE char* WriteWithoutLeadingZeros(char* out, uint64_t digitValues) {
    const int leadingZeros = std::countr_zero(digitValues | (uint64_t{1} << 56)) / 8;
    StoreDigits(out, digitValues >> (8 * leadingZeros));
    return out + 8 - leadingZeros;
}

// The common case, a whole part below 10^8 and at most 8 decimals: both
// converted at once, the decimals as the leading digits of a word.
// With one or no decimal the whole part is converted alone and the decimal
// is a single character.
ALWAYS_INLINE char* WriteShortFixed(char* out, uint64_t whole, uint64_t digits, int decimals) {
    if (decimals <= 1) {
        out = WriteWithoutLeadingZeros(out, EightDigitValues(whole));
        if (decimals == 0) return out;
        out[0] = '.';
        out[1] = static_cast<char>('0' + digits);
        return out + 2;
    }
    const DigitWords words = EightDigitValuesOfEach(whole, digits * kPowersOfTen[8 - decimals]);
    out = WriteWithoutLeadingZeros(out, words.first);
    *out++ = '.';
    StoreDigits(out, words.second);
    return out + decimals;
}

char* WriteWhole(char* out, uint64_t n) {
    if (n < kTenTo8) return WriteWithoutLeadingZeros(out, EightDigitValues(n));
    out = WriteWhole(out, n / kTenTo8);
    StoreDigits(out, EightDigitValues(n % kTenTo8));
    return out + 8;
}

// The `count` digits of n < 10^count, with leading zeros.
char* WriteDecimals(char* out, uint64_t n, int count) {
    if (count <= 8) {
        StoreDigits(out, EightDigitValues(n * kPowersOfTen[8 - count]));
        return out + count;
    }
    out = WriteDecimals(out, n / kTenTo8, count - 8);
    StoreDigits(out, EightDigitValues(n % kTenTo8));
    return out + 8;
}

}  // namespace

char* WriteExactFixed(char* out, double value, int decimals) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    if ((bits >> 63) != 0) *out++ = '-';
    const ScaledValue scaled = Scale(Decompose(bits), decimals);
    if (scaled.whole < kTenTo8 && decimals <= 8) return WriteShortFixed(out, scaled.whole, scaled.decimals, decimals);
    out = WriteWhole(out, scaled.whole);
    if (decimals == 0) return out;
    *out++ = '.';
    return WriteDecimals(out, scaled.decimals, decimals);
}
