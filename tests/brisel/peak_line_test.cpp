#include "brisel/peak_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string WithPrintf(const char* mzFormat, const char* intensityFormat, double mz, double intensity) {
    const std::string format = std::string(mzFormat) + " " + intensityFormat + "\n";
    char text[1024];
    std::snprintf(text, sizeof text, format.c_str(), mz, intensity);
    return text;
}

std::string Line(const char* mzFormat, const char* intensityFormat, double mz, double intensity) {
    std::string out;
    PeakLineFormat(mzFormat, intensityFormat).Append(out, mz, intensity);
    return out;
}

TEST(PeakLine, WritesTheDefaultConversions) {
    EXPECT_EQ(Line("%.5f", "%.1f", 445.12003, 10234.56), "445.12003 10234.6\n");
    EXPECT_EQ(Line("%.5f", "%.1f", 100.2, 0.0), "100.20000 0.0\n");
    EXPECT_EQ(Line("%.5f", "%.1f", 0.25, 0.25), "0.25000 0.2\n");
    EXPECT_EQ(Line("%.5f", "%.1f", -0.0, 1e300).substr(0, 9), "-0.00000 ");
}

TEST(PeakLine, MatchesPrintfForAnyDoubleAndPrecision) {
    const char* formats[] = {"%.0f", "%.1f", "%.5f", "%.9f", "%.12f"};
    const double special[] = {0.5,
                              1.5,
                              2.5,
                              0.125,
                              1.0000005,
                              5e-324,
                              -1e-7,
                              1.7976931348623157e308,
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              std::nan("")};
    for (const char* format : formats) {
        for (double value : special) {
            EXPECT_EQ(Line(format, format, value, -value), WithPrintf(format, format, value, -value)) << format;
        }
    }
    std::mt19937_64 random(42);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        const double rounded = std::round(static_cast<double>(random() % 200000000) / 2.0) / 100000.0;
        const char* format = formats[i % 5];
        EXPECT_EQ(Line(format, "%.1f", value, rounded), WithPrintf(format, "%.1f", value, rounded));
    }
}

TEST(PeakLine, OtherConversionsGoThroughPrintf) {
    EXPECT_EQ(Line("%.3e", "%g", 445.12003, 10234.56), WithPrintf("%.3e", "%g", 445.12003, 10234.56));
    EXPECT_EQ(Line("%f", "%.f", 445.12003, 10234.56), "445.120030 10235\n");
    EXPECT_EQ(Line("%.70f", "%.1f", 1.0, 2.0), WithPrintf("%.70f", "%.1f", 1.0, 2.0));
    // Longer than any fixed-point double needs on the fast path.
    EXPECT_EQ(Line("%.400f", "%.1f", 1.0, 2.0), "1." + std::string(400, '0') + " 2.0\n");
}

}  // namespace
