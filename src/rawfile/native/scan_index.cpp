#include "rawfile/native/scan_index.h"

#include "rawfile/native/file_header.h"

namespace rawfile::native {

namespace {

constexpr uint32_t kFirstVersionWithCycleNumber = 65;

constexpr uint64_t kPacketTypeOffset = 16;
constexpr uint64_t kWideOffsetOffset = 72;
constexpr uint64_t kEntriesPerRead = 4096;

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
    entry.totalIonCurrent = in.F64();
    entry.basePeakIntensity = in.F64();
    entry.basePeakMass = in.F64();
    entry.lowMass = in.F64();
    entry.highMass = in.F64();
    if (wideOffsets) {
        in.Seek(kWideOffsetOffset);
        entry.packetOffset = in.U64();
    }
    return entry;
}

}  // namespace

uint64_t ScanIndexEntrySize(uint32_t version) {
    if (version < kFirstVersionWithWideAddresses) {
        return 72;
    }
    if (version < kFirstVersionWithCycleNumber) {
        return 80;
    }
    return 88;
}

Status ScanIndex::Open(const FileBytes& file, uint64_t address, uint64_t scanCount, uint32_t version) {
    window_.clear();
    entrySize_ = ScanIndexEntrySize(version);
    wideOffsets_ = version >= kFirstVersionWithWideAddresses;
    if (scanCount > file.size() / entrySize_ || address > file.size() ||
        scanCount * entrySize_ > file.size() - address) {
        return kDamaged;
    }
    file_ = &file;
    address_ = address;
    count_ = scanCount;
    return scanCount == 0 ? kOk : LoadWindow(0);
}

Status ScanIndex::LoadWindow(uint64_t first) {
    window_.clear();
    const uint64_t count = count_ - first < kEntriesPerRead ? count_ - first : kEntriesPerRead;
    const ByteReader chunk = file_->Read(address_ + first * entrySize_, count * entrySize_, buffer_);
    if (!chunk.ok()) {
        return kDamaged;
    }
    for (uint64_t i = 0; i < count; ++i) {
        window_.push_back(ReadEntry(chunk.Region(i * entrySize_, entrySize_), wideOffsets_));
    }
    windowFirst_ = first;
    return kOk;
}

Status ScanIndex::Entry(uint64_t ordinal, const ScanIndexEntry** entry) {
    if (ordinal < windowFirst_ || ordinal - windowFirst_ >= window_.size()) {
        if (const Status status = LoadWindow(ordinal - ordinal % kEntriesPerRead); status != kOk) {
            return status;
        }
    }
    *entry = &window_[ordinal - windowFirst_];
    return kOk;
}

}  // namespace rawfile::native
