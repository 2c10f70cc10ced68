#include "rawfile/native/scan_index.h"

#include "rawfile/native/file_header.h"

namespace rawfile::native {

namespace {

constexpr uint32_t kFirstVersionWithCycleNumber = 65;

constexpr uint64_t kPacketTypeOffset = 16;
constexpr uint64_t kWideOffsetOffset = 72;

uint64_t EntrySizeFor(uint32_t version) {
    if (version < kFirstVersionWithWideAddresses) {
        return 72;
    }
    if (version < kFirstVersionWithCycleNumber) {
        return 80;
    }
    return 88;
}

}  // namespace

Status ScanIndex::Open(const ByteReader& file, uint64_t address, uint64_t scanCount, uint32_t version) {
    entrySize_ = EntrySizeFor(version);
    wideOffsets_ = version >= kFirstVersionWithWideAddresses;
    if (scanCount > file.size() / entrySize_) {
        return kDamaged;
    }
    entries_ = file.Region(address, scanCount * entrySize_);
    return entries_.ok() ? kOk : kDamaged;
}

ScanIndexEntry ScanIndex::Entry(uint64_t ordinal) const {
    ByteReader in = entries_.Region(ordinal * entrySize_, entrySize_);
    ScanIndexEntry entry;
    entry.packetOffset = in.U32();
    in.U32();  // ordinal
    entry.eventNumber = in.U16();
    entry.segmentNumber = in.U16();
    in.Seek(kPacketTypeOffset);
    entry.packetTypeWord = in.U32();
    entry.packetSize = in.U32();
    entry.retentionTime = in.F64();
    if (wideOffsets_) {
        in.Seek(kWideOffsetOffset);
        entry.packetOffset = in.U64();
    }
    return entry;
}

}  // namespace rawfile::native
