#include "rawfile/native/scan_index.h"

#include "rawfile/native/file_header.h"

namespace rawfile::native {

namespace {

constexpr uint32_t kFirstVersionWithCycleNumber = 65;

constexpr uint64_t kPacketTypeOffset = 16;
constexpr uint64_t kWideOffsetOffset = 72;
constexpr uint64_t kEntriesPerRead = 4096;

uint64_t EntrySizeFor(uint32_t version) {
    if (version < kFirstVersionWithWideAddresses) {
        return 72;
    }
    if (version < kFirstVersionWithCycleNumber) {
        return 80;
    }
    return 88;
}

ScanIndexEntry ReadEntry(ByteReader in, bool wideOffsets) {
    ScanIndexEntry entry;
    entry.packetOffset = in.U32();
    in.U32();  // ordinal
    entry.eventNumber = in.U16();
    entry.segmentNumber = in.U16();
    in.Seek(kPacketTypeOffset);
    entry.packetTypeWord = in.U32();
    entry.packetSize = in.U32();
    entry.retentionTime = in.F64();
    if (wideOffsets) {
        in.Seek(kWideOffsetOffset);
        entry.packetOffset = in.U64();
    }
    return entry;
}

}  // namespace

Status ScanIndex::Open(const FileBytes& file, uint64_t address, uint64_t scanCount, uint32_t version) {
    entries_.clear();
    const uint64_t entrySize = EntrySizeFor(version);
    const bool wideOffsets = version >= kFirstVersionWithWideAddresses;
    if (scanCount > file.size() / entrySize || address > file.size() || scanCount * entrySize > file.size() - address) {
        return kDamaged;
    }
    entries_.reserve(scanCount);
    ReadBuffer buffer;
    for (uint64_t first = 0; first < scanCount; first += kEntriesPerRead) {
        const uint64_t count = scanCount - first < kEntriesPerRead ? scanCount - first : kEntriesPerRead;
        const ByteReader chunk = file.Read(address + first * entrySize, count * entrySize, buffer);
        if (!chunk.ok()) {
            entries_.clear();
            return kDamaged;
        }
        for (uint64_t i = 0; i < count; ++i) {
            entries_.push_back(ReadEntry(chunk.Region(i * entrySize, entrySize), wideOffsets));
        }
    }
    return kOk;
}

}  // namespace rawfile::native
