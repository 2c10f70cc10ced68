#pragma once

// The scan index: one fixed-size entry per scan at the run header's scan
// index address, telling where the scan's packet lies, its type and size,
// and its retention time. Entries are read a window of a few thousand at a
// time, so memory does not grow with the number of scans.

#include <cstdint>

#include <vector>
#include "rawfile/backend.h"

#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

struct ScanIndexEntry {
    uint64_t packetOffset = 0;    // from the data address
    uint16_t eventNumber = 0;     // the scan's event among its segment's; 0xFFFF: none
    uint16_t segmentNumber = 0;   // 0xFFFF: none
    uint32_t packetTypeWord = 0;  // low 16 bits: packet type
    uint32_t packetSize = 0;      // bytes (segmented profiles: record count)
    double retentionTime = 0;     // minutes
    double totalIonCurrent = 0;
    double basePeakIntensity = 0;
    double basePeakMass = 0;
    double lowMass = 0;  // the scan's m/z range
    double highMass = 0;

    uint32_t PacketType() const { return packetTypeWord & 0xFFFFu; }
};

// The size of one index entry in files of this format version.
uint64_t ScanIndexEntrySize(uint32_t version);

class ScanIndex {
public:
    // Checks that the `scanCount` entries at `address` lie inside the file
    // (which must outlive the index) and reads the first window of them.
    Status Open(const FileBytes& file, uint64_t address, uint64_t scanCount, uint32_t version);

    // The entry of the scan at `ordinal` (0 = first scan; ordinal < count);
    // kDamaged when its window can no longer be read.
    Status Entry(uint64_t ordinal, const ScanIndexEntry** entry);

private:
    Status LoadWindow(uint64_t first);

    const FileBytes* file_ = nullptr;
    uint64_t address_ = 0;
    uint64_t count_ = 0;
    uint64_t entrySize_ = 0;
    bool wideOffsets_ = false;
    uint64_t windowFirst_ = 0;
    std::vector<ScanIndexEntry> window_;
    ReadBuffer buffer_;
};

}  // namespace rawfile::native
