// libFuzzer target for the standard scan data packet and the decoders of
// its blocks. The first input byte gives the number of FT frequency
// conversion coefficients (0 to 8), the f64 coefficients follow, and the
// rest is the packet.
//
// Rules checked: the packet's blocks follow each other and fill it exactly;
// the peak list gives whole pairs, no more peaks than its block holds, and
// when it succeeds its runs fill the block; a profile's chunks lie in its
// block; the ion-trap profile lists exactly the stored bins, in order, with
// their stored intensities; the FT profile refuses coefficient counts other
// than 4, 5 and 7, refuses exactly the chunks that are out of order or past
// the bin count, and otherwise lists the stored intensities in order with at
// most 8 zero points per gap and 8 at the end.

#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "rawfile/native/profile_points.h"
#include "rawfile/native/standard_packet.h"

namespace {

using fuzz::Require;
using rawfile::Status;
using rawfile::native::ByteReader;
using rawfile::native::ProfileBlock;
using rawfile::native::ProfileChunk;
using rawfile::native::StandardPacket;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The stored intensities of every chunk, in order.
std::vector<double> StoredIntensities(const ProfileBlock& profile) {
    std::vector<double> values;
    for (const ProfileChunk& chunk : profile.chunks) {
        ByteReader in = chunk.intensities;
        for (uint32_t j = 0; j < chunk.binCount; ++j) {
            values.push_back(static_cast<double>(in.F32()));
        }
    }
    return values;
}

uint64_t StoredBins(const ProfileBlock& profile) {
    uint64_t bins = 0;
    for (const ProfileChunk& chunk : profile.chunks) {
        bins += chunk.binCount;
    }
    return bins;
}

// Chunks in increasing, non-overlapping bin order inside the scan's bins.
bool ChunksInOrder(const ProfileBlock& profile) {
    uint64_t nextFree = 0;
    for (size_t i = 0; i < profile.chunks.size(); ++i) {
        const ProfileChunk& chunk = profile.chunks[i];
        const uint64_t start = chunk.firstBin;
        const uint64_t end = start + chunk.binCount;  // one past the last bin
        if ((i > 0 && start < nextFree) || end > profile.binCount) {
            return false;
        }
        nextFree = end;
    }
    return true;
}

void CheckPeakList(const StandardPacket& packet) {
    std::vector<double> pairs;
    const Status status =
        rawfile::native::AppendPeakList(packet.peaks, packet.PeakMassesAreDoubles(), packet.segmentCount, &pairs);
    Require(status == rawfile::kOk || status == rawfile::kDamaged, "peak list status is ok or damaged");
    Require(pairs.size() % 2 == 0, "peaks come in (m/z, intensity) pairs");
    const uint64_t peakSize = packet.PeakMassesAreDoubles() ? 12 : 8;
    Require(pairs.size() / 2 <= packet.peaks.size() / peakSize, "no more peaks than the block holds");
    if (status == rawfile::kOk && packet.peaks.size() != 0) {
        Require(packet.peaks.size() == 4ull * packet.segmentCount + pairs.size() / 2 * peakSize,
                "a read peak list fills its block");
    }
}

void CheckIonTrapProfile(const ProfileBlock& profile) {
    std::vector<double> pairs;
    Require(rawfile::native::AppendIonTrapProfile(profile, &pairs) == rawfile::kOk,
            "an ion-trap profile whose chunks fit is read");
    const std::vector<double> stored = StoredIntensities(profile);
    Require(pairs.size() == 2 * stored.size(), "an ion-trap profile lists every stored bin");
    for (size_t i = 0; i < stored.size(); ++i) {
        Require(SameBits(pairs[2 * i + 1], stored[i]), "an ion-trap profile keeps the stored intensities");
    }
}

void CheckFtProfile(const ProfileBlock& profile, const std::vector<double>& coefficients) {
    std::vector<double> pairs;
    const Status status = rawfile::native::AppendFtProfile(profile, coefficients, &pairs);
    const size_t count = coefficients.size();
    if (count != 4 && count != 5 && count != 7) {
        Require(status == rawfile::kUnsupported && pairs.empty(), "unknown coefficient counts are refused");
        return;
    }
    if (!ChunksInOrder(profile)) {
        Require(status == rawfile::kDamaged && pairs.empty(), "chunks out of order are refused");
        return;
    }
    Require(status == rawfile::kOk, "an FT profile of ordered chunks is read");
    Require(pairs.size() % 2 == 0, "FT points come in pairs");
    const uint64_t points = pairs.size() / 2;
    const uint64_t bins = StoredBins(profile);
    Require(points >= bins && points <= bins + 8 * (profile.chunks.size() + 1),
            "an FT profile lists its bins and at most 8 zero points per gap and at the end");
    // The points that are not padding carry the stored intensities in order.
    std::vector<double> listed;
    for (size_t i = 1; i < pairs.size(); i += 2) {
        if (pairs[i] != 0.0) {
            listed.push_back(pairs[i]);
        }
    }
    std::vector<double> stored;
    for (double value : StoredIntensities(profile)) {
        if (value != 0.0) {
            stored.push_back(value);
        }
    }
    Require(listed.size() == stored.size(), "an FT profile lists every stored non-zero intensity");
    for (size_t i = 0; i < stored.size(); ++i) {
        Require(SameBits(listed[i], stored[i]), "an FT profile keeps the stored intensities in order");
    }
}

void CheckProfile(const ByteReader& block, bool fudge, const std::vector<double>& coefficients) {
    ProfileBlock profile;
    const Status status = rawfile::native::ReadProfileBlock(block, fudge, &profile);
    Require(status == rawfile::kOk || status == rawfile::kDamaged, "profile block status is ok or damaged");
    if (status != rawfile::kOk) {
        return;
    }
    uint64_t used = 24;
    for (const ProfileChunk& chunk : profile.chunks) {
        Require(chunk.intensities.ok() && chunk.intensities.size() == 4ull * chunk.binCount,
                "a chunk holds one f32 per bin");
        Require(fudge || chunk.fudge == 0.0f, "no fudge unless the chunks carry one");
        used += (fudge ? 12 : 8) + chunk.intensities.size();
    }
    Require(used <= block.size(), "the chunks lie inside the profile block");
    CheckIonTrapProfile(profile);
    CheckFtProfile(profile, coefficients);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Controls controls(data, size);
    std::vector<double> coefficients(controls.U8() % 9);
    for (double& value : coefficients) {
        value = controls.F64();
    }
    const uint8_t* bytes = controls.rest();
    const size_t length = controls.restSize();

    StandardPacket packet;
    const Status status = rawfile::native::ReadStandardPacket(ByteReader(bytes, length), &packet);
    Require(status == rawfile::kOk || status == rawfile::kDamaged, "packet status is ok or damaged");
    if (status != rawfile::kOk) {
        return 0;
    }
    Require(packet.segmentCount >= 1, "a packet has a segment");
    const ByteReader* blocks[] = {&packet.profile, &packet.peaks, &packet.descriptors,
                                  &packet.extra,   &packet.noise, &packet.extension};
    uint64_t at = 40 + (packet.segmentCount - 1ull) * 8;
    for (const ByteReader* block : blocks) {
        Require(block->ok() && block->position() == 0, "every block is a fresh cursor");
        Require(block->size() == 0 || block->data() == bytes + at, "the blocks follow each other");
        at += block->size();
    }
    Require(at == length, "the blocks fill the packet");

    CheckPeakList(packet);
    if (packet.profile.size() != 0) {
        CheckProfile(packet.profile, packet.ChunksCarryFudge(), coefficients);
        CheckProfile(packet.profile, !packet.ChunksCarryFudge(), coefficients);
    }
    return 0;
}
