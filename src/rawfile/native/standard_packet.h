#pragma once

// The standard scan data packet (ion-trap and FT types): a 40-byte header
// giving the number of mass segments and the size of each block, the low
// and high m/z of every segment after the first (SIM scans of several
// ranges), then the profile block, the peak list, the peak descriptors, the
// extra stream, the noise stream and an extension block, each present only
// when its size is not zero.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

struct StandardPacket {
    uint32_t segmentCount = 1;
    uint32_t layoutFlags = 0;
    ByteReader profile;
    ByteReader peaks;
    ByteReader descriptors;
    ByteReader extra;
    ByteReader noise;
    ByteReader extension;

    bool PeakMassesAreDoubles() const { return (layoutFlags & 0x10000u) != 0; }
    bool ChunksCarryFudge() const { return (layoutFlags & 0xFFu) != 0; }
};

// Splits the packet (a cursor over exactly the index entry's packet size)
// into its blocks; the block sizes must add up to the packet size.
Status ReadStandardPacket(ByteReader packet, StandardPacket* out);

// One stretch of consecutive bins of a profile.
struct ProfileChunk {
    uint32_t firstBin = 0;
    uint32_t binCount = 0;
    float fudge = 0;         // m/z correction of the chunk (0 when not stored)
    ByteReader intensities;  // binCount f32 values
};

struct ProfileBlock {
    double first = 0;  // position of bin 0 (m/z or frequency, by packet type)
    double step = 0;
    uint32_t binCount = 0;  // bins of the whole scan
    std::vector<ProfileChunk> chunks;
};

// Reads the profile block; chunks must lie inside the block.
Status ReadProfileBlock(ByteReader block, bool chunksCarryFudge, ProfileBlock* out);

// The stored peaks as (m/z, intensity) pairs appended to *pairs: one run
// of [count, peaks] per mass segment, in segment order.
Status AppendPeakList(ByteReader block, bool massesAreDoubles, uint32_t segmentCount, std::vector<double>* pairs);

}  // namespace rawfile::native
