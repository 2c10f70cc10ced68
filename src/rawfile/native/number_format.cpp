#include "rawfile/native/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace rawfile::native {

namespace {

constexpr int kSignificantDigits = 15;
// The most digits a rounded value has before its decimal point is spread:
// a double below 10^309, kMostDecimals decimals and a carry.
constexpr int kMostScaledDigits = 309 + kMostDecimals + 1;
// Room before the digits for a carry and the zeros that pad a value below 1.
constexpr int kFrontRoom = kMostDecimals + 2;

struct DecimalDigits {
    bool negative = false;
    char digits[kSignificantDigits];  // the first non-zero unless the value is 0
    int exponent = 0;                 // place value of the first digit is 10^exponent
};

DecimalDigits ToSignificantDigits(double value) {
    // The exact value rounded to the digits, as printf's "%.14e" gives it.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, kSignificantDigits - 1);
    *written.ptr = '\0';
    DecimalDigits result;
    const char* at = buffer;
    if (*at == '-') {
        result.negative = true;
        ++at;
    }
    int count = 0;
    for (; *at != 'e' && *at != '\0'; ++at) {
        if (*at >= '0' && *at <= '9' && count < kSignificantDigits) {  // whatever the locale's decimal point
            result.digits[count++] = *at;
        }
    }
    if (*at == 'e') {
        result.exponent = std::atoi(at + 1);
    }
    return result;
}

// Digits from `first` up to `end`.
struct DigitSpan {
    char* first;
    char* end;
};

// The digits of a value in units of 10^-decimals, rounded half away from
// zero, written from `begin` on; a carry out puts a digit before `begin`.
DigitSpan ScaledDigits(const DecimalDigits& number, int decimals, char* begin) {
    const int kept = number.exponent + decimals + 1;
    if (kept < 0) {
        *begin = '0';
        return {begin, begin + 1};
    }
    if (kept >= kSignificantDigits) {
        std::memcpy(begin, number.digits, kSignificantDigits);
        std::memset(begin + kSignificantDigits, '0', static_cast<size_t>(kept - kSignificantDigits));
        return {begin, begin + kept};
    }
    DigitSpan span{begin, begin + kept};
    std::memcpy(begin, number.digits, static_cast<size_t>(kept));
    if (number.digits[kept] >= '5') {
        char* at = span.end;
        while (at != begin && *(at - 1) == '9') *--at = '0';
        if (at == begin) {
            *--span.first = '1';
        } else {
            ++*(at - 1);
        }
    }
    if (span.first == span.end) *span.end++ = '0';  // nothing kept, nothing carried
    return span;
}

}  // namespace

bool FormatFixed(double value, int decimals, std::string* text) {
    if (!std::isfinite(value) || decimals < 0 || decimals > kMostDecimals) {
        return false;
    }
    const DecimalDigits number = ToSignificantDigits(value);
    char area[kFrontRoom + kMostScaledDigits];
    auto [first, end] = ScaledDigits(number, decimals, area + kFrontRoom);
    while (end - first < decimals + 1) *--first = '0';
    char* const point = end - decimals;
    text->clear();
    if (number.negative) *text += '-';
    text->append(first, point);
    if (decimals > 0) {
        *text += '.';
        text->append(point, end);
    }
    return true;
}

}  // namespace rawfile::native
