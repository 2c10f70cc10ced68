// The peak lines' fixed-point numbers: first the speed of WriteFixed against
// std::to_chars and snprintf on values like a peak list's (m/z 50 to 5000
// with 5 decimals, intensities 0 to 1e10 with 1 decimal), in CPU nanoseconds
// per number, and of whole peak lines through PeakLines::Format, in
// megabytes per second. Then a long equality run: WriteFixed against
// snprintf("%.*f") on many values of every kind (random bit patterns, peak
// values, subnormals, powers of ten and their neighbours, exact halves and
// the doubles beside them, carries, huge values), each with a number of decimals
// from 0 to 79. The equality run takes minutes; it stops and exits with 1
// at the tenth difference, printing each.
//
//   fixed_format_bench [values-compared]   (default 500000000; 0: speed only)

#include <time.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "spexor/output/fixed_format.h"
#include "spexor/output/number_format.h"
#include "spexor/output/peak_lines.h"

namespace {

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Uniform(std::mt19937_64& random, double low, double high) {
    return low + (high - low) * std::generate_canonical<double, 53>(random);
}

// Intensities as a peak list has them: one in ten zero, the rest spread
// evenly over the decades up to 1e10, stored as floats by the instrument.
double Intensity(std::mt19937_64& random) {
    if (random() % 10 == 0) return 0.0;
    return static_cast<float>(std::pow(10.0, Uniform(random, 0.0, 10.0)));
}

std::vector<Peak> PeakList(std::size_t count) {
    std::mt19937_64 random(20240611);
    std::vector<Peak> peaks(count);
    for (Peak& peak : peaks) peak = {Uniform(random, 50.0, 5000.0), Intensity(random)};
    return peaks;
}

// --- speed ---------------------------------------------------------------

struct Formatter {
    const char* name;
    char* (*write)(char* out, double value, int decimals);
};

char* ToChars(char* out, double value, int decimals) {
    return std::to_chars(out, out + MaxFixedChars(decimals), value, std::chars_format::fixed, decimals).ptr;
}

char* Snprintf(char* out, double value, int decimals) {
    return out + std::snprintf(out, MaxFixedChars(decimals), "%.*f", decimals, value);
}

const Formatter kFormatters[] = {{"WriteFixed", WriteFixed}, {"std::to_chars", ToChars}, {"snprintf", Snprintf}};

// Best CPU nanoseconds per number over a few passes.
double NanosecondsPerNumber(const Formatter& formatter, const std::vector<double>& values, int decimals) {
    std::vector<char> text(MaxFixedChars(decimals));
    double best = 1e30;
    std::size_t written = 0;
    for (int pass = 0; pass < 5; ++pass) {
        const double start = CpuSeconds();
        for (double value : values) written += formatter.write(text.data(), value, decimals) - text.data();
        best = std::min(best, CpuSeconds() - start);
    }
    if (written == 0) std::puts("");  // keeps the loop from being dropped
    return 1e9 * best / static_cast<double>(values.size());
}

void BenchNumbers(const std::vector<Peak>& peaks) {
    std::vector<double> mz, intensity;
    for (const Peak& peak : peaks) {
        mz.push_back(peak.mz);
        intensity.push_back(peak.intensity);
    }
    std::printf("CPU ns per number (%zu numbers, best of 5 passes)\n", peaks.size());
    std::printf("%-16s %14s %18s\n", "", "m/z, %.5f", "intensity, %.1f");
    double writeFixed[2] = {0, 0};
    for (const Formatter& formatter : kFormatters) {
        const double forMz = NanosecondsPerNumber(formatter, mz, 5);
        const double forIntensity = NanosecondsPerNumber(formatter, intensity, 1);
        if (writeFixed[0] == 0) writeFixed[0] = forMz, writeFixed[1] = forIntensity;
        std::printf("%-16s %8.1f (x%4.1f) %12.1f (x%4.1f)\n", formatter.name, forMz, forMz / writeFixed[0],
                    forIntensity, forIntensity / writeFixed[1]);
    }
}

// The peak lines as PeakLines wrote them with std::to_chars alone.
std::size_t ToCharsLines(const SpectrumRecord& record, std::vector<char>& text) {
    char* at = text.data();
    for (int32_t i = 0; i < record.peakCount; ++i) {
        at = ToChars(at, record.peaks[i].mz, 5);
        *at++ = ' ';
        at = ToChars(at, record.peaks[i].intensity, 1);
        *at++ = '\n';
    }
    return static_cast<std::size_t>(at - text.data());
}

void BenchPeakLines(const std::vector<Peak>& peaks) {
    SpectrumRecord record;
    record.peakCount = static_cast<int32_t>(peaks.size());
    record.peaks.reset(new Peak[peaks.size()]);
    std::copy(peaks.begin(), peaks.end(), record.peaks.get());
    PeakLines lines(5, 1);
    std::vector<char> text(peaks.size() * (MaxFixedChars(5) + MaxFixedChars(1) + 2));
    double best = 1e30, bestToChars = 1e30;
    std::size_t bytes = 0;
    for (int pass = 0; pass < 5; ++pass) {
        double start = CpuSeconds();
        lines.Format(record);
        best = std::min(best, CpuSeconds() - start);
        start = CpuSeconds();
        bytes = ToCharsLines(record, text);
        bestToChars = std::min(bestToChars, CpuSeconds() - start);
    }
    if (bytes != lines.Text().size() || std::memcmp(text.data(), lines.Text().data(), bytes) != 0) {
        std::puts("PeakLines::Format and std::to_chars wrote different lines");
        std::exit(1);
    }
    const double megabytes = static_cast<double>(bytes) / 1e6;
    std::printf("\nPeak lines \"%%.5f %%.1f\\n\" (%zu lines, %.1f MB, best of 5 passes)\n", peaks.size(), megabytes);
    std::printf("  PeakLines::Format      %7.0f MB/s  %6.1f ns per line\n", megabytes / best,
                1e9 * best / static_cast<double>(peaks.size()));
    std::printf("  std::to_chars lines    %7.0f MB/s  %6.1f ns per line\n", megabytes / bestToChars,
                1e9 * bestToChars / static_cast<double>(peaks.size()));
}

// --- equality ------------------------------------------------------------

// One kind of value with the decimals it is written with.
struct Sample {
    double value;
    int decimals;
};

// A number of decimals: mostly the short ones the exact path takes, some
// up to 20 and a few long ones.
int AnyDecimals(std::mt19937_64& random) {
    const uint64_t pick = random() % 100;
    if (pick < 80) return static_cast<int>(random() % 10);
    if (pick < 97) return static_cast<int>(10 + random() % 11);
    constexpr int kLong[] = {30, 50, 79};
    return kLong[random() % 3];
}

// A power of ten from 1e-30 to 1e22, or one of its neighbours.
double NearPowerOfTen(std::mt19937_64& random) {
    double value = std::pow(10.0, static_cast<double>(static_cast<int>(random() % 53) - 30));
    for (int step = static_cast<int>(random() % 7) - 3; step != 0; step += step > 0 ? -1 : 1)
        value = std::nextafter(value, step > 0 ? INFINITY : 0.0);
    return value;
}

// Exact halves of the last place written: odd multiples of 2^-(decimals+1),
// the doubles beside them, and the doubles beside a half that no double
// holds ((k + 0.5) / 10^decimals rounded).
double NearHalf(std::mt19937_64& random, int decimals) {
    const int wholeBits = static_cast<int>(random() % 52);
    const double units = static_cast<double>(random() >> (64 - wholeBits - 1));
    double value;
    if (random() % 2 == 0) {
        value = std::ldexp(2.0 * units + 1.0, -(decimals + 1));
    } else {
        value = (units + 0.5) / std::pow(10.0, decimals);
    }
    const int step = static_cast<int>(random() % 5) - 2;
    for (int i = 0; i < std::abs(step); ++i) value = std::nextafter(value, step > 0 ? INFINITY : 0.0);
    return value;
}

// Values where rounding up carries through every digit, 10^m - 0.5 / 10^decimals,
// or the integers where the exact path changes its way (10^8, 2^53, 2^64),
// with their neighbours.
double NearCarryOrEdge(std::mt19937_64& random, int decimals) {
    constexpr double kEdges[] = {1e8, 0x1p52, 0x1p53, 1e16, 0x1p63, 0x1p64};
    double value = random() % 2 == 0
                       ? std::pow(10.0, static_cast<double>(random() % 17)) - 0.5 / std::pow(10.0, decimals)
                       : kEdges[random() % 6];
    const int step = static_cast<int>(random() % 7) - 3;
    for (int i = 0; i < std::abs(step); ++i) value = std::nextafter(value, step > 0 ? INFINITY : 0.0);
    return value;
}

Sample NextSample(std::mt19937_64& random) {
    const int decimals = AnyDecimals(random);
    const double sign = random() % 2 == 0 ? 1.0 : -1.0;
    const int fewDecimals = static_cast<int>(random() % 10);
    switch (random() % 18) {
        case 0: return {std::bit_cast<double>(random()), decimals};  // any bit pattern, NaN and infinities too
        case 1: return {sign * std::bit_cast<double>(random() & 0xfffffffffffffull), decimals};  // subnormal
        case 2: return {sign * NearPowerOfTen(random), decimals};
        case 3:
        case 4: return {sign * NearHalf(random, decimals), decimals};
        case 5: return {sign * std::pow(10.0, Uniform(random, 15.0, 308.0)), fewDecimals % 4};  // huge
        case 6: return {sign * std::ldexp(Uniform(random, 1.0, 2.0), static_cast<int>(random() % 145) - 80), decimals};
        case 7: return {sign * NearCarryOrEdge(random, decimals), decimals};
        case 8: return {-std::pow(10.0, Uniform(random, -25.0, -1.0)), decimals};  // "-0.00..." or not
        case 9:
        case 10:
        case 11: return {Uniform(random, 50.0, 5000.0), fewDecimals};
        case 12:
        case 13: return {Intensity(random), fewDecimals % 4};
        case 14: return {std::pow(10.0, Uniform(random, -10.0, 10.0)), fewDecimals};
        default: return {Uniform(random, 50.0, 5000.0), 5};
    }
}

bool CompareAll(uint64_t count) {
    std::mt19937_64 random(97);
    char mine[512], theirs[512];
    uint64_t compared = 0, exact = 0;
    int differences = 0;
    const double start = CpuSeconds();
    for (; compared < count && differences < 10; ++compared) {
        if (compared > 0 && compared % 100000000 == 0) std::fprintf(stderr, "%" PRIu64 " compared\n", compared);
        const Sample sample = NextSample(random);
        if (FitsExactFixed(sample.value, sample.decimals)) ++exact;
        const std::size_t length = static_cast<std::size_t>(WriteFixed(mine, sample.value, sample.decimals) - mine);
        const int expected = std::snprintf(theirs, sizeof theirs, "%.*f", sample.decimals, sample.value);
        if (length == static_cast<std::size_t>(expected) && std::memcmp(mine, theirs, length) == 0) continue;
        std::printf("%a with %d decimals: WriteFixed \"%.*s\", snprintf \"%s\"\n", sample.value, sample.decimals,
                    static_cast<int>(length), mine, theirs);
        ++differences;
    }
    std::printf("\nEquality: %" PRIu64 " values compared with snprintf (%" PRIu64
                " by the exact path) in %.0f s CPU, %d differences\n",
                compared, exact, CpuSeconds() - start, differences);
    return differences == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const uint64_t compared = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500000000;
    const std::vector<Peak> peaks = PeakList(1000000);
    BenchNumbers(peaks);
    BenchPeakLines(peaks);
    std::fflush(stdout);
    return compared == 0 || CompareAll(compared) ? 0 : 1;
}
