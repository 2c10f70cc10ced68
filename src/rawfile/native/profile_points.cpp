#include "rawfile/native/profile_points.h"

#include <cstdint>

namespace rawfile::native {

namespace {

// Gaps of this many bins or fewer are listed whole; longer ones give this
// many zero points on each side.
constexpr int64_t kPaddingBins = 4;
constexpr int64_t kWholeGapBins = 2 * kPaddingBins;
// A padding point whose m/z (with the fudge of the chunk after it) would
// not lie above the point before it is listed this far above that point,
// so that the list keeps rising.
constexpr double kPaddingRise = 1e-5;

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

    FrequencyConverter() = default;

private:
    FrequencyConverter(bool orbitrap, double a, double b, double c) : orbitrap_(orbitrap), a_(a), b_(b), c_(c) {}

    bool orbitrap_ = false;
    double a_ = 0;
    double b_ = 0;
    double c_ = 0;
};

class FtPointWriter {
public:
    FtPointWriter(const ProfileBlock& profile, const FrequencyConverter& converter, std::vector<double>* pairs)
        : profile_(profile), converter_(converter), pairs_(pairs) {}

    void Add(int64_t bin, float fudge, double intensity) { Append(MassOf(bin, fudge), intensity); }

    void AddZeros(int64_t fromBin, int64_t toBin, float fudge) {
        for (int64_t bin = fromBin; bin <= toBin; ++bin) {
            double mz = MassOf(bin, fudge);
            if (havePrevious_ && !(mz > previousMz_)) {
                mz = previousMz_ + kPaddingRise;
            }
            Append(mz, 0.0);
        }
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
    double MassOf(int64_t bin, float fudge) const {
        const double frequency = profile_.first + static_cast<double>(bin) * profile_.step;
        return converter_.MassOf(frequency) + static_cast<double>(fudge);
    }

    void Append(double mz, double intensity) {
        pairs_->push_back(mz);
        pairs_->push_back(intensity);
        previousMz_ = mz;
        havePrevious_ = true;
    }

    const ProfileBlock& profile_;
    const FrequencyConverter& converter_;
    std::vector<double>* pairs_;
    double previousMz_ = 0;
    bool havePrevious_ = false;
};

// Chunks must follow each other in increasing bin order inside the scan's bins.
bool ChunksAreOrdered(const ProfileBlock& profile) {
    int64_t previousEnd = 0;  // bin 0 counts as listed
    bool first = true;
    for (const ProfileChunk& chunk : profile.chunks) {
        const int64_t start = chunk.firstBin;
        const int64_t end = start + chunk.binCount - 1;
        if ((!first && start <= previousEnd) || start + chunk.binCount > profile.binCount) {
            return false;
        }
        previousEnd = end;
        first = false;
    }
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
    if (!ChunksAreOrdered(profile)) {
        return kDamaged;
    }
    FtPointWriter writer(profile, converter, pairs);
    int64_t lastListed = 0;  // bin 0 is the end of an imaginary chunk before the first
    for (const ProfileChunk& chunk : profile.chunks) {
        writer.AddGap(lastListed, chunk.firstBin, chunk.fudge);
        ByteReader intensities = chunk.intensities;
        for (uint32_t j = 0; j < chunk.binCount; ++j) {
            writer.Add(static_cast<int64_t>(chunk.firstBin) + j, chunk.fudge, static_cast<double>(intensities.F32()));
        }
        if (!intensities.ok()) {
            return kDamaged;
        }
        lastListed = static_cast<int64_t>(chunk.firstBin) + chunk.binCount - 1;
    }
    if (!profile.chunks.empty()) {
        writer.AddTail(lastListed, profile.chunks.back().fudge);
    }
    return kOk;
}

}  // namespace rawfile::native
