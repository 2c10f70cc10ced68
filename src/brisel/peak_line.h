#pragma once

// The peak line of an MS1 record: m/z and intensity, each written with its
// printf conversion, one blank between them, a line feed after.

#include <string>

class PeakLineFormat {
public:
    // Conversions of the form "%.<n>f" are written with std::to_chars, which
    // gives exactly printf's text in the "C" locale, several times faster;
    // any other conversion goes through snprintf.
    PeakLineFormat(const char* mzFormat, const char* intensityFormat);

    void Append(std::string& out, double mz, double intensity) const;

private:
    struct Conversion {
        const char* format;
        int decimals;  // -1: not a plain fixed-point conversion
    };
    static Conversion Read(const char* format);
    static void AppendValue(std::string& out, double value, const Conversion& conversion);

    Conversion mz_;
    Conversion intensity_;
};
