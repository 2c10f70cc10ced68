#include "brisel/peak_line.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// Room for any double in fixed-point form with up to kMaxDecimals decimals
// (309 integer digits, sign, point).
constexpr int kMaxDecimals = 60;
constexpr size_t kValueRoom = 320 + kMaxDecimals;

}  // namespace

PeakLineFormat::PeakLineFormat(const char* mzFormat, const char* intensityFormat)
    : mz_(Read(mzFormat)), intensity_(Read(intensityFormat)) {}

PeakLineFormat::Conversion PeakLineFormat::Read(const char* format) {
    Conversion conversion{format, -1};
    if (std::strncmp(format, "%.", 2) != 0) return conversion;
    const char* end = format + std::strlen(format);
    int decimals = 0;
    const auto [next, error] = std::from_chars(format + 2, end, decimals);
    if (error != std::errc() || next == format + 2 || next + 1 != end || *next != 'f') return conversion;
    if (decimals >= 0 && decimals <= kMaxDecimals) conversion.decimals = decimals;
    return conversion;
}

void PeakLineFormat::AppendValue(std::string& out, double value, const Conversion& conversion) {
    char text[kValueRoom];
    if (conversion.decimals >= 0) {
        const auto result =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, conversion.decimals);
        out.append(text, result.ptr);
        return;
    }
    const int length = std::snprintf(text, sizeof text, conversion.format, value);
    if (length < 0) return;
    if (static_cast<size_t>(length) < sizeof text) {
        out.append(text, static_cast<size_t>(length));
        return;
    }
    std::string longer(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(longer.data(), longer.size(), conversion.format, value);
    out.append(longer.data(), static_cast<size_t>(length));
}

void PeakLineFormat::Append(std::string& out, double mz, double intensity) const {
    AppendValue(out, mz, mz_);
    out.push_back(' ');
    AppendValue(out, intensity, intensity_);
    out.push_back('\n');
}
