#include "spexor/output/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "spexor/output/fixed_format.h"

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

namespace {

// --- WriteFixed against printf on many values ------------------------------

// Compares WriteFixed with snprintf("%.*f"), counting the comparisons and
// those that took the exact integer path, keeping the first differences.
class PrintfComparison {
public:
    void Check(double value, int decimals) {
        char mine[1024], theirs[1024];
        const int length = static_cast<int>(WriteFixed(mine, value, decimals) - mine);
        const int expected = std::snprintf(theirs, sizeof theirs, "%.*f", decimals, value);
        ++compared_;
        if (FitsExactFixed(value, decimals)) ++exact_;
        if (length == expected && std::memcmp(mine, theirs, static_cast<std::size_t>(length)) == 0) return;
        ++different_;
        if (differences_.size() < 10) {
            char hex[64];
            std::snprintf(hex, sizeof hex, "%a", value);
            differences_.push_back(std::string(hex) + " with " + std::to_string(decimals) + " decimals: \"" +
                                   std::string(mine, static_cast<std::size_t>(length)) + "\", printf \"" + theirs +
                                   "\"");
        }
    }
    void CheckAll(const std::vector<double>& values, const std::vector<int>& decimalCounts) {
        for (double value : values)
            for (int decimals : decimalCounts) Check(value, decimals);
    }
    uint64_t Compared() const { return compared_; }
    uint64_t Exact() const { return exact_; }
    uint64_t Different() const { return different_; }
    const std::vector<std::string>& Differences() const { return differences_; }

private:
    uint64_t compared_ = 0;
    uint64_t exact_ = 0;
    uint64_t different_ = 0;
    std::vector<std::string> differences_;
};

std::vector<int> DecimalsUpTo(int most) {
    std::vector<int> counts;
    for (int decimals = 0; decimals <= most; ++decimals) counts.push_back(decimals);
    return counts;
}

// Every number of decimals the exact path takes and a little beyond, and
// long ones up to the most an option can ask for.
const std::vector<int> kEveryDecimals = [] {
    std::vector<int> counts = DecimalsUpTo(20);
    counts.insert(counts.end(), {30, 50, 79});
    return counts;
}();
const std::vector<int> kPeakDecimals = DecimalsUpTo(9);

double Uniform(std::mt19937_64& random, double low, double high) {
    return low + (high - low) * std::generate_canonical<double, 53>(random);
}

double RandomSign(std::mt19937_64& random, double value) { return random() % 2 == 0 ? value : -value; }

// `value` and the `steps` doubles on each side of it.
void AddNeighbours(std::vector<double>& values, double value, int steps) {
    values.push_back(value);
    double up = value, down = value;
    for (int i = 0; i < steps; ++i) {
        up = std::nextafter(up, INFINITY);
        down = std::nextafter(down, -INFINITY);
        values.push_back(up);
        values.push_back(down);
    }
}

struct ValueFamily {
    const char* name;
    std::vector<double> (*values)(std::mt19937_64& random);
    const std::vector<int>* decimals;
};

std::vector<double> Specials(std::mt19937_64&) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    return {0.0,     -0.0,     INFINITY,     -INFINITY,     kNaN, -kNaN, DBL_MAX, -DBL_MAX,
            DBL_MIN, -DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN, 1.0,  -1.0,  0.5,     0x1p64};
}

// Any bit pattern: every exponent, NaNs and infinities included.
std::vector<double> AnyBits(std::mt19937_64& random) {
    std::vector<double> values(3000);
    for (double& value : values) value = std::bit_cast<double>(random());
    return values;
}

// Random mantissas with the exponents the exact path takes, where digits
// show on both sides of the point: 2^-80 to 2^64.
std::vector<double> ExactRange(std::mt19937_64& random) {
    std::vector<double> values(80000);
    for (double& value : values)
        value = RandomSign(random, std::ldexp(Uniform(random, 1.0, 2.0), static_cast<int>(random() % 145) - 80));
    return values;
}

std::vector<double> Subnormals(std::mt19937_64& random) {
    std::vector<double> values(1500);
    for (double& value : values)
        value = RandomSign(random, std::bit_cast<double>(random() & ((uint64_t{1} << 52) - 1)));
    return values;
}

std::vector<double> PeakMz(std::mt19937_64& random) {
    std::vector<double> values(250000);
    for (double& value : values) value = Uniform(random, 50.0, 5000.0);
    return values;
}

// Intensities: uniform to 1e10, spread over the decades, and as floats.
std::vector<double> PeakIntensities(std::mt19937_64& random) {
    std::vector<double> values;
    for (int i = 0; i < 40000; ++i) {
        values.push_back(Uniform(random, 0.0, 1e10));
        values.push_back(std::pow(10.0, Uniform(random, -2.0, 10.0)));
        values.push_back(static_cast<float>(std::pow(10.0, Uniform(random, 0.0, 10.0))));
    }
    return values;
}

std::vector<double> PowersOfTenAndNeighbours(std::mt19937_64&) {
    std::vector<double> values;
    for (int exponent = -30; exponent <= 308; ++exponent) {
        AddNeighbours(values, std::pow(10.0, exponent), 3);
        AddNeighbours(values, -std::pow(10.0, exponent), 1);
    }
    return values;
}

// Huge values, exact integers all of them.
std::vector<double> Huge(std::mt19937_64& random) {
    std::vector<double> values(2500);
    for (double& value : values) value = RandomSign(random, std::pow(10.0, Uniform(random, 15.0, 308.0)));
    return values;
}

// The integers where the exact path changes its way or ends: 2^52, 2^53,
// 10^8, 10^16, 2^63, 2^64 and their neighbours.
std::vector<double> IntegerEdges(std::mt19937_64&) {
    std::vector<double> values;
    for (double edge : {0x1p52, 0x1p53, 1e8, 1e16, 1e19, 0x1p63, 0x1p64}) {
        AddNeighbours(values, edge, 4);
        AddNeighbours(values, -edge, 1);
    }
    return values;
}

// Tiny negative values: "-0.00..." until the decimals reach their digits.
std::vector<double> TinyNegatives(std::mt19937_64& random) {
    std::vector<double> values(2000);
    for (double& value : values) value = -std::pow(10.0, Uniform(random, -25.0, -1.0));
    return values;
}

const ValueFamily kFamilies[] = {
    {"special values", Specials, &kEveryDecimals},
    {"any bit pattern", AnyBits, &kEveryDecimals},
    {"2^-80 to 2^64", ExactRange, &kEveryDecimals},
    {"subnormals", Subnormals, &kEveryDecimals},
    {"m/z 50 to 5000", PeakMz, &kPeakDecimals},
    {"intensities", PeakIntensities, &kPeakDecimals},
    {"powers of ten", PowersOfTenAndNeighbours, &kEveryDecimals},
    {"huge values", Huge, &kEveryDecimals},
    {"integer edges", IntegerEdges, &kEveryDecimals},
    {"tiny negatives", TinyNegatives, &kEveryDecimals},
};

// Exact halves of the last place written with `decimals` decimals: the odd
// multiples of 2^-(decimals + 1) (the halves a double can hold, 0.125 with
// two decimals, 2.5 with none), and the doubles beside them.
void CheckExactHalves(PrintfComparison& comparison, std::mt19937_64& random, int decimals) {
    for (int i = 0; i < 2000; ++i) {
        const int bits = static_cast<int>(random() % 53);
        const uint64_t high = random();
        const double odd = static_cast<double>((bits == 0 ? 0 : high >> (64 - bits)) | 1);
        std::vector<double> values;
        AddNeighbours(values, RandomSign(random, std::ldexp(odd, -(decimals + 1))), 1);
        comparison.CheckAll(values, {decimals});
    }
}

// The halves no double holds, (k + 0.5) / 10^decimals, as the nearest
// double and its neighbours: the values just below and above a rounding
// boundary. Also those where rounding up carries into every digit,
// 10^m - 0.5 / 10^decimals.
void CheckNearHalves(PrintfComparison& comparison, std::mt19937_64& random, int decimals) {
    const double scale = std::pow(10.0, decimals);
    for (int i = 0; i < 2000; ++i) {
        const double units = static_cast<double>(random() >> (12 + random() % 52));
        std::vector<double> values;
        AddNeighbours(values, RandomSign(random, (units + 0.5) / scale), 2);
        comparison.CheckAll(values, {decimals});
    }
    for (int m = 0; m <= 16; ++m) {
        std::vector<double> values;
        AddNeighbours(values, std::pow(10.0, m) - 0.5 / scale, 2);
        comparison.CheckAll(values, {decimals});
    }
}

}  // namespace

TEST(NumberFormat, FixedMatchesPrintfOnEveryKindOfValueAndEveryNumberOfDecimals) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    PrintfComparison comparison;
    std::mt19937_64 random(20240611);
    uint64_t compared = 0, different = 0;
    // Prints and checks what was compared since the last call.
    const auto report = [&](const char* name) {
        std::printf("  %-16s %9llu compared\n", name,
                    static_cast<unsigned long long>(comparison.Compared() - compared));
        EXPECT_EQ(comparison.Different() - different, 0u) << name;
        compared = comparison.Compared();
        different = comparison.Different();
    };
    for (const ValueFamily& family : kFamilies) {
        comparison.CheckAll(family.values(random), *family.decimals);
        report(family.name);
    }
    for (int decimals : kEveryDecimals) {
        CheckExactHalves(comparison, random, decimals);
        CheckNearHalves(comparison, random, decimals);
    }
    report("halves");
    std::printf("  %-16s %9llu compared, %llu by the exact path\n", "in all",
                static_cast<unsigned long long>(comparison.Compared()),
                static_cast<unsigned long long>(comparison.Exact()));
    for (const std::string& difference : comparison.Differences()) ADD_FAILURE() << difference;
}

TEST(NumberFormat, FixedRoundsExactHalvesToEvenAndKeepsTheSignOfZero) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } kCases[] = {
        {0.5, 0, "0"},
        {1.5, 0, "2"},
        {2.5, 0, "2"},
        {-2.5, 0, "-2"},
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {445.625, 2, "445.62"},
        {1e-3 * 5, 2, "0.01"},
        {9.9999996, 6, "10.000000"},
        {-0.0, 0, "-0"},
        {-0.0, 3, "-0.000"},
        {-0.0001, 3, "-0.000"},
        {-1e-300, 5, "-0.00000"},
        {DBL_TRUE_MIN, 2, "0.00"},
        {0x1p63, 1, "9223372036854775808.0"},
        {1234.56789, 5, "1234.56789"},
        {1822.05, 1, "1822.0"},
        {INFINITY, 3, "inf"},
        {-INFINITY, 0, "-inf"},
    };
    for (const auto& c : kCases) EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
    EXPECT_EQ(Fixed(std::numeric_limits<double>::quiet_NaN(), 2),
              Printf("%.2f", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(Fixed(-std::numeric_limits<double>::quiet_NaN(), 2),
              Printf("%.2f", -std::numeric_limits<double>::quiet_NaN()));
}

TEST(NumberFormat, FixedWithANegativeNumberOfDecimalsIsPrintfsDefaultSix) {
    for (double value : {0.0, 1.25, -445.1234567, 1e20}) EXPECT_EQ(Fixed(value, -1), Printf("%f", value)) << value;
}

TEST(NumberFormat, ExactPathTakesThePeakValuesAndStaysInItsRoom) {
    EXPECT_TRUE(FitsExactFixed(1234.56789, 5));
    EXPECT_TRUE(FitsExactFixed(9.9e9, 1));
    EXPECT_TRUE(FitsExactFixed(0.0, 0));
    EXPECT_TRUE(FitsExactFixed(-DBL_TRUE_MIN, kMostExactDecimals));
    EXPECT_TRUE(FitsExactFixed(std::nextafter(0x1p64, 0.0), 9));
    EXPECT_FALSE(FitsExactFixed(0x1p64, 9));
    EXPECT_FALSE(FitsExactFixed(1.0, kMostExactDecimals + 1));
    EXPECT_FALSE(FitsExactFixed(1.0, -1));
    EXPECT_FALSE(FitsExactFixed(INFINITY, 2));
    EXPECT_FALSE(FitsExactFixed(std::numeric_limits<double>::quiet_NaN(), 2));

    // The longest forms: a sign, 20 whole digits, 19 decimals.
    for (double value : {-std::nextafter(0x1p64, 0.0), -0.1, -1e-19, 1e15 + 0.5, 0.0}) {
        for (int decimals = 0; decimals <= kMostExactDecimals; ++decimals) {
            char text[kExactFixedRoom + 16];
            std::memset(text, '#', sizeof text);
            const char* end = WriteExactFixed(text, value, decimals);
            EXPECT_LE(end - text, 41);
            EXPECT_EQ(std::string(text + kExactFixedRoom, 16), std::string(16, '#')) << value << " " << decimals;
        }
    }
}
