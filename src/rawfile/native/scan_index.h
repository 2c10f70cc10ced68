#pragma once

// The scan index: one fixed-size entry per scan at the run header's scan
// index address, telling where the scan's packet lies, its type and size,
// and its retention time. Entries are read from the map when asked.

#include <cstdint>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

struct ScanIndexEntry {
    uint64_t packetOffset = 0;    // from the data address
    uint16_t eventNumber = 0;     // the scan's event among its segment's; 0xFFFF: none
    uint16_t segmentNumber = 0;   // 0xFFFF: none
    uint32_t packetTypeWord = 0;  // low 16 bits: packet type
    uint32_t packetSize = 0;      // bytes (segmented profiles: record count)
    double retentionTime = 0;     // minutes

    uint32_t PacketType() const { return packetTypeWord & 0xFFFFu; }
};

class ScanIndex {
public:
    // Checks that `scanCount` entries at `address` lie inside the file.
    Status Open(const ByteReader& file, uint64_t address, uint64_t scanCount, uint32_t version);

    // The entry of the scan at `ordinal` (0 = first scan); ordinal < count.
    ScanIndexEntry Entry(uint64_t ordinal) const;

private:
    ByteReader entries_;
    uint64_t entrySize_ = 0;
    bool wideOffsets_ = false;
};

}  // namespace rawfile::native
