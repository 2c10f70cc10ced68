#include "spexor/output/number_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Printf(const char* format, double value) {
    char text[2048];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Fixed(double value, int decimals) {
    std::vector<char> text(MaxFixedChars(decimals));
    return std::string(text.data(), WriteFixed(text.data(), value, decimals));
}

std::string General10(double value) {
    char text[kMaxGeneralChars];
    return std::string(text, WriteGeneral10(text, value));
}

std::string Padded6(int32_t value) {
    char text[kMaxIntegerChars];
    return std::string(text, WriteZeroPadded6(text, value));
}

std::vector<double> Samples() {
    std::vector<double> values = {0.0,     -0.0,         0.5,           1.5,       2.5,    0.125,   0.375,
                                  1e-5,    0.0001,       0.00012345,    9.9999995, 445.62, 445.625, 1333.346485,
                                  1e10,    9999999999.5, 12345678901.0, -445.12,   1e300,  -1e-300, DBL_MAX,
                                  DBL_MIN, 100.0,        120.08131,     5310.25,   1822.05};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mz(50.0, 4000.0);
    std::uniform_real_distribution<double> exponent(-8.0, 12.0);
    for (int i = 0; i < 3000; ++i) {
        values.push_back(mz(random));
        values.push_back(std::pow(10.0, exponent(random)));
        // Values on a decimal tie of the last written place.
        values.push_back(std::round(mz(random) * 1000.0) / 1000.0 + 0.0005);
    }
    return values;
}

}  // namespace

TEST(NumberFormat, FixedAndGeneralFormsMatchPrintfByteForByte) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    for (double value : Samples()) {
        for (int decimals : {0, 1, 2, 5, 6, 9, 12}) {
            const std::string format = "%." + std::to_string(decimals) + "f";
            ASSERT_EQ(Fixed(value, decimals), Printf(format.c_str(), value)) << value << " " << format;
        }
        ASSERT_EQ(General10(value), Printf("%.10g", value)) << value;
    }
    EXPECT_EQ(Fixed(445.12034567, 5), "445.12035");
    EXPECT_EQ(General10(1e-5), "1e-05");
    EXPECT_EQ(General10(445.1203461), "445.1203461");
    EXPECT_EQ(Fixed(1.0, 72), Printf("%.72f", 1.0));
}

TEST(NumberFormat, IntegersAreZeroPaddedToSixCharactersLikePrintf) {
    for (int32_t value : {0, 7, 1234, 123456, 1234567, -5, -12345, -123456, INT32_MAX, INT32_MIN}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%06d", value);
        EXPECT_EQ(Padded6(value), expected) << value;
    }
    char text[kMaxIntegerChars];
    EXPECT_EQ(std::string(text, WriteInt(text, -2147483647 - 1)), "-2147483648");
}
