#include "rawfile/native/profile_points.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rawfile::native {

namespace {

// Gaps of this many bins or fewer are listed whole; longer ones give this
// many zero points on each side.
constexpr int64_t kPaddingBins = 4;
constexpr int64_t kWholeGapBins = 2 * kPaddingBins;
// A point whose m/z would not lie above the point listed before it (a
// zero point taking the next chunk's correction, or a chunk's first bins
// when its correction is lower than the previous chunk's by more than a
// bin) is listed this far above that point, so that the list keeps rising.
constexpr double kMinimumRise = 1e-5;

// Frequency to m/z, in exactly the library's order of operations.
class FrequencyConverter {
public:
    static bool Make(const std::vector<double>& coefficients, FrequencyConverter* out) {
        if (coefficients.size() == 4) {
            *out = FrequencyConverter(false, coefficients[1], coefficients[2], coefficients[3]);
            return true;
        }
        if (coefficients.size() == 5 || coefficients.size() == 7) {
            *out = FrequencyConverter(true, coefficients[2], coefficients[3], coefficients[4]);
            return true;
        }
        return false;
    }

    double MassOf(double frequency) const {
        if (orbitrap_) {
            const double f2 = frequency * frequency;
            return a_ + b_ / f2 + c_ / (f2 * f2);
        }
        return a_ + (b_ + c_ / frequency) / frequency;
    }

#if defined(__SSE2__)
    // Two frequencies at once, each with the same operations in the same
    // order as the form above, so each mass is the same to the last bit.
    __m128d MassOf(__m128d frequency) const {
        const __m128d a = _mm_set1_pd(a_);
        const __m128d b = _mm_set1_pd(b_);
        const __m128d c = _mm_set1_pd(c_);
        if (orbitrap_) {
            const __m128d f2 = _mm_mul_pd(frequency, frequency);
            return _mm_add_pd(_mm_add_pd(a, _mm_div_pd(b, f2)), _mm_div_pd(c, _mm_mul_pd(f2, f2)));
        }
        return _mm_add_pd(a, _mm_div_pd(_mm_add_pd(b, _mm_div_pd(c, frequency)), frequency));
    }
#endif

    FrequencyConverter() = default;

private:
    FrequencyConverter(bool orbitrap, double a, double b, double c) : orbitrap_(orbitrap), a_(a), b_(b), c_(c) {}

    bool orbitrap_ = false;
    double a_ = 0;
    double b_ = 0;
    double c_ = 0;
};

// Writes the points of an FT profile into `pairs`, as (m/z, intensity)
// pairs. The runs of bins (a chunk's stored bins, the zero points around
// it) are noted first; Finish then converts every bin of every run, where
// no conversion waits for another and the divisions overlap, lifting the
// points that would not rise above the point before them.
class FtPointWriter {
public:
    // Room for at most `mostPoints` points is made at once.
    FtPointWriter(const ProfileBlock& profile, const FrequencyConverter& converter, std::size_t mostPoints,
                  std::vector<double>* pairs)
        : profile_(profile), converter_(converter), pairs_(pairs), start_(pairs->size()) {
        pairs_->resize(start_ + 2 * mostPoints);
        runs_.clear();
    }

    // The stored bins of a chunk, `count` f32 intensities at `intensities`.
    void AddChunk(int64_t firstBin, uint32_t count, float fudge, const uint8_t* intensities) {
        if (count > 0) AddRun(firstBin, count, fudge, intensities);
    }

    void AddZeros(int64_t fromBin, int64_t toBin, float fudge) {
        if (toBin >= fromBin) AddRun(fromBin, static_cast<std::size_t>(toBin - fromBin + 1), fudge, nullptr);
    }

    // Writes the points of every run noted and trims the list to them.
    void Finish() {
        double* const first = pairs_->data() + start_;
        double* out = first;
        for (const Run& run : runs_) {
            const bool fallsWithin = run.intensities != nullptr
                                         ? WriteMasses<true>(out, run.firstBin, run.count, run.fudge, run.intensities)
                                         : WriteMasses<false>(out, run.firstBin, run.count, run.fudge, nullptr);
            const bool listStart = out == first;
            if (fallsWithin || (!listStart && !(out[0] > out[-2]))) {
                KeepRising(out, run.count, listStart);
            }
            out += 2 * run.count;
        }
        pairs_->resize(static_cast<std::size_t>(out - pairs_->data()));
    }

    // Zero points between the bin `lastBin` (listed) and `nextBin` (listed).
    void AddGap(int64_t lastBin, int64_t nextBin, float fudge) {
        if (nextBin - lastBin - 1 <= kWholeGapBins) {
            AddZeros(lastBin + 1, nextBin - 1, fudge);
        } else {
            AddZeros(lastBin + 1, lastBin + kPaddingBins, fudge);
            AddZeros(nextBin - kPaddingBins, nextBin - 1, fudge);
        }
    }

    // Zero points after the last chunk, ending at `lastBin`.
    void AddTail(int64_t lastBin, float fudge) {
        const int64_t finalBin = static_cast<int64_t>(profile_.binCount) - 1;
        if (finalBin - lastBin <= kWholeGapBins) {
            AddZeros(lastBin + 1, finalBin, fudge);
        } else {
            AddZeros(lastBin + 1, lastBin + kPaddingBins, fudge);
            AddZeros(finalBin - 2, finalBin + 1, fudge);
        }
    }

private:
    struct Run {
        int64_t firstBin;
        std::size_t count;
        float fudge;
        const uint8_t* intensities;  // null for zero points
    };

    // Written field by field where it is kept: a run built apart and copied
    // in reads back fields just stored, which stalls the processor.
    void AddRun(int64_t firstBin, std::size_t count, float fudge, const uint8_t* intensities) {
        Run& run = runs_.emplace_back();
        run.firstBin = firstBin;
        run.count = count;
        run.fudge = fudge;
        run.intensities = intensities;
    }

    // A point whose m/z would not lie above the point before it (as listed,
    // so one lift can lead to the next) is listed kMinimumRise above that
    // point, its intensity kept. `out` holds the `count` points of one run,
    // the first of the whole list when `listStart`.
    static void KeepRising(double* out, std::size_t count, bool listStart) {
        for (std::ptrdiff_t at = listStart ? 2 : 0; at < 2 * static_cast<std::ptrdiff_t>(count); at += 2) {
            const double previousMz = out[at - 2];
            if (!(out[at] > previousMz)) out[at] = previousMz + kMinimumRise;
        }
    }

    double MassOf(int64_t bin, float fudge) const {
        const double frequency = profile_.first + static_cast<double>(bin) * profile_.step;
        return converter_.MassOf(frequency) + static_cast<double>(fudge);
    }

    template <bool kStored>
    static double IntensityAt(const uint8_t* intensities, std::size_t j) {
        if (!kStored) return 0.0;
        float value;
        std::memcpy(&value, intensities + 4 * j, sizeof value);
        return static_cast<double>(value);
    }

    // The pairs of `count` bins from `firstBin` on: their masses, and the
    // f32 intensities at `intensities` (zero for zero points, kStored
    // false). Two bins at a time where the processor has two-lane doubles,
    // which divides twice as fast. True when some mass of the run does not
    // lie above the one before it in the run (or is NaN), so that the run
    // needs KeepRising; the check rides along the conversion, as lifts are
    // rare.
    template <bool kStored>
    bool WriteMasses(double* out, int64_t firstBin, std::size_t count, float fudge,
                     const uint8_t* intensities) const {
        std::size_t j = 0;
        bool falls = false;
#if defined(__SSE2__)
        const __m128d first = _mm_set1_pd(profile_.first);
        const __m128d step = _mm_set1_pd(profile_.step);
        const __m128d correction = _mm_set1_pd(static_cast<double>(fudge));
        __m128d previous = _mm_set1_pd(-HUGE_VAL);  // high lane: the mass before this pair
        __m128d anyFall = _mm_setzero_pd();
        for (; j + 2 <= count; j += 2) {
            const int64_t bin = firstBin + static_cast<int64_t>(j);
            const __m128d bins = _mm_set_pd(static_cast<double>(bin + 1), static_cast<double>(bin));
            const __m128d frequency = _mm_add_pd(first, _mm_mul_pd(bins, step));
            const __m128d mz = _mm_add_pd(converter_.MassOf(frequency), correction);
            anyFall = _mm_or_pd(anyFall, _mm_cmpngt_pd(mz, _mm_shuffle_pd(previous, mz, 1)));
            previous = mz;
            const __m128d intensity = _mm_set_pd(IntensityAt<kStored>(intensities, j + 1), IntensityAt<kStored>(intensities, j));
            _mm_storeu_pd(out + 2 * j, _mm_unpacklo_pd(mz, intensity));
            _mm_storeu_pd(out + 2 * j + 2, _mm_unpackhi_pd(mz, intensity));
        }
        falls = _mm_movemask_pd(anyFall) != 0;
#endif
        for (; j < count; ++j) {
            out[2 * j] = MassOf(firstBin + static_cast<int64_t>(j), fudge);
            out[2 * j + 1] = IntensityAt<kStored>(intensities, j);
            if (j > 0 && !(out[2 * j] > out[2 * j - 2])) falls = true;
        }
        return falls;
    }

    const ProfileBlock& profile_;
    const FrequencyConverter& converter_;
    std::vector<double>* pairs_;
    std::size_t start_;
    // Kept from scan to scan (one per thread, as every reader is used by one
    // thread at a time), so a profile's thousands of runs need no allocation.
    static thread_local std::vector<Run> runs_;
};

thread_local std::vector<FtPointWriter::Run> FtPointWriter::runs_;

// Chunks must follow each other in increasing bin order inside the scan's
// bins. The most points they give: every stored bin, and at most
// 2 x kPaddingBins zero points in each gap and after the last chunk.
bool ChunksAreOrdered(const ProfileBlock& profile, std::size_t* mostPoints) {
    int64_t previousEnd = 0;  // bin 0 counts as listed
    bool first = true;
    std::size_t points = 2 * kPaddingBins;
    for (const ProfileChunk& chunk : profile.chunks) {
        const int64_t start = chunk.firstBin;
        const int64_t end = start + chunk.binCount - 1;
        if ((!first && start <= previousEnd) || start + chunk.binCount > profile.binCount) {
            return false;
        }
        previousEnd = end;
        first = false;
        points += chunk.binCount + 2 * kPaddingBins;
    }
    *mostPoints = points;
    return true;
}

}  // namespace

Status AppendIonTrapProfile(const ProfileBlock& profile, std::vector<double>* pairs) {
    for (const ProfileChunk& chunk : profile.chunks) {
        ByteReader intensities = chunk.intensities;
        for (uint32_t j = 0; j < chunk.binCount; ++j) {
            const double bin = static_cast<double>(static_cast<uint64_t>(chunk.firstBin) + j + 1);
            pairs->push_back(profile.first + bin * profile.step + static_cast<double>(chunk.fudge));
            pairs->push_back(static_cast<double>(intensities.F32()));
        }
        if (!intensities.ok()) {
            return kDamaged;
        }
    }
    return kOk;
}

Status AppendFtProfile(const ProfileBlock& profile, const std::vector<double>& coefficients,
                       std::vector<double>* pairs) {
    FrequencyConverter converter;
    if (!FrequencyConverter::Make(coefficients, &converter)) {
        return kUnsupported;
    }
    std::size_t mostPoints = 0;
    if (!ChunksAreOrdered(profile, &mostPoints)) {
        return kDamaged;
    }
    FtPointWriter writer(profile, converter, mostPoints, pairs);
    int64_t lastListed = 0;  // bin 0 is the end of an imaginary chunk before the first
    for (const ProfileChunk& chunk : profile.chunks) {
        writer.AddGap(lastListed, chunk.firstBin, chunk.fudge);
        const ByteReader& intensities = chunk.intensities;
        if (!intensities.CanRead(4ull * chunk.binCount)) {
            return kDamaged;
        }
        writer.AddChunk(chunk.firstBin, chunk.binCount, chunk.fudge, intensities.data() + intensities.position());
        lastListed = static_cast<int64_t>(chunk.firstBin) + chunk.binCount - 1;
    }
    if (!profile.chunks.empty()) {
        writer.AddTail(lastListed, profile.chunks.back().fudge);
    }
    writer.Finish();
    return kOk;
}

}  // namespace rawfile::native
