#include "rawfile/native/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace rawfile::native {

namespace {

constexpr int kSignificantDigits = 15;

struct DecimalDigits {
    bool negative = false;
    std::string digits;  // kSignificantDigits digits, the first non-zero unless the value is 0
    int exponent = 0;    // place value of the first digit is 10^exponent
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
    for (; *at != 'e' && *at != '\0'; ++at) {
        if (*at >= '0' && *at <= '9') {  // whatever the locale's decimal point
            result.digits.push_back(*at);
        }
    }
    if (*at == 'e') {
        result.exponent = std::atoi(at + 1);
    }
    return result;
}

// Adds one to a string of decimal digits, growing it on a carry out.
void IncrementDigits(std::string* digits) {
    for (auto it = digits->rbegin(); it != digits->rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits->insert(digits->begin(), '1');
}

// The digits of the value in units of 10^-decimals, rounded half away from zero.
std::string ScaledDigits(const DecimalDigits& number, int decimals) {
    const int kept = number.exponent + decimals + 1;
    if (kept < 0) {
        return "0";
    }
    if (kept >= kSignificantDigits) {
        return number.digits + std::string(static_cast<size_t>(kept - kSignificantDigits), '0');
    }
    std::string scaled = number.digits.substr(0, static_cast<size_t>(kept));
    if (number.digits[static_cast<size_t>(kept)] >= '5') {
        IncrementDigits(&scaled);
    }
    return scaled.empty() ? "0" : scaled;
}

}  // namespace

bool FormatFixed(double value, int decimals, std::string* text) {
    if (!std::isfinite(value) || decimals < 0 || decimals > kMostDecimals) {
        return false;
    }
    const DecimalDigits number = ToSignificantDigits(value);
    std::string scaled = ScaledDigits(number, decimals);
    const size_t width = static_cast<size_t>(decimals) + 1;
    if (scaled.size() < width) {
        scaled.insert(0, width - scaled.size(), '0');
    }
    std::string result = number.negative ? "-" : "";
    result += scaled.substr(0, scaled.size() - static_cast<size_t>(decimals));
    if (decimals > 0) {
        result += '.';
        result += scaled.substr(scaled.size() - static_cast<size_t>(decimals));
    }
    *text = std::move(result);
    return true;
}

}  // namespace rawfile::native
