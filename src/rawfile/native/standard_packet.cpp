#include "rawfile/native/standard_packet.h"

#include <algorithm>
#include <cstring>

namespace rawfile::native {

namespace {

constexpr uint64_t kHeaderSize = 40;
constexpr uint64_t kWord = 4;
constexpr uint64_t kChunkHeaderSize = 8;
constexpr uint64_t kSegmentRangeSize = 8;  // f32 low, f32 high

}  // namespace

Status ReadStandardPacket(ByteReader packet, StandardPacket* out) {
    ByteReader header = packet.Take(kHeaderSize);
    // A packet of one segment may store 0 as its count: it has no further ranges.
    out->segmentCount = std::max<uint32_t>(header.U32(), 1);
    const uint64_t profileWords = header.U32();
    const uint64_t peakWords = header.U32();
    out->layoutFlags = header.U32();
    const uint64_t descriptorWords = header.U32();
    const uint64_t extraWords = header.U32();
    const uint64_t noiseWords = header.U32();
    const uint64_t extensionWords = header.U32();
    if (!header.ok() || !packet.CanRead((out->segmentCount - 1ull) * kSegmentRangeSize)) {
        return kDamaged;
    }
    packet.Skip((out->segmentCount - 1ull) * kSegmentRangeSize);
    const uint64_t blockBytes =
        kWord * (profileWords + peakWords + descriptorWords + extraWords + noiseWords + extensionWords);
    if (blockBytes != packet.remaining()) {
        return kDamaged;
    }
    out->profile = packet.Take(kWord * profileWords);
    out->peaks = packet.Take(kWord * peakWords);
    out->descriptors = packet.Take(kWord * descriptorWords);
    out->extra = packet.Take(kWord * extraWords);
    out->noise = packet.Take(kWord * noiseWords);
    out->extension = packet.Take(kWord * extensionWords);
    return packet.ok() ? kOk : kDamaged;
}

Status ReadProfileBlock(ByteReader block, bool chunksCarryFudge, ProfileBlock* out) {
    out->first = block.F64();
    out->step = block.F64();
    const uint32_t chunkCount = block.U32();
    out->binCount = block.U32();
    const uint64_t chunkHeader = kChunkHeaderSize + (chunksCarryFudge ? kWord : 0);
    if (!block.ok() || !block.CanRead(static_cast<uint64_t>(chunkCount) * chunkHeader)) {
        return kDamaged;
    }
    // Read straight from the bytes: a profile holds thousands of chunks, and
    // stepping a cursor field by field through each costs more than all the rest.
    const uint8_t* at = block.data() + block.position();
    uint64_t left = block.remaining();
    out->chunks.resize(chunkCount);
    for (ProfileChunk& chunk : out->chunks) {
        if (left < chunkHeader) {
            return kDamaged;
        }
        std::memcpy(&chunk.firstBin, at, kWord);
        std::memcpy(&chunk.binCount, at + kWord, kWord);
        chunk.fudge = 0.0f;
        if (chunksCarryFudge) std::memcpy(&chunk.fudge, at + kChunkHeaderSize, kWord);
        at += chunkHeader;
        left -= chunkHeader;
        const uint64_t intensityBytes = kWord * static_cast<uint64_t>(chunk.binCount);
        if (intensityBytes > left) {
            return kDamaged;
        }
        chunk.intensities = ByteReader(at, intensityBytes);
        at += intensityBytes;
        left -= intensityBytes;
    }
    return kOk;
}

Status AppendPeakList(ByteReader block, bool massesAreDoubles, uint32_t segmentCount, std::vector<double>* pairs) {
    if (block.size() == 0) {
        return kOk;  // no peak list stored: no peaks
    }
    const uint64_t peakSize = massesAreDoubles ? 12 : 8;
    for (uint32_t segment = 0; segment < segmentCount; ++segment) {
        const uint64_t count = block.U32();
        if (!block.ok() || count > block.remaining() / peakSize) {
            return kDamaged;
        }
        pairs->reserve(pairs->size() + 2 * count);
        for (uint64_t i = 0; i < count; ++i) {
            const double mz = massesAreDoubles ? block.F64() : static_cast<double>(block.F32());
            pairs->push_back(mz);
            pairs->push_back(static_cast<double>(block.F32()));
        }
    }
    return block.remaining() == 0 ? kOk : kDamaged;
}

}  // namespace rawfile::native
