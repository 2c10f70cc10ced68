#pragma once

// The scan index: one fixed-size entry per scan at the run header's scan
// index address, telling where the scan's packet lies, its type and size,
// and its retention time. The fields the reader uses are read once, at
// open, into a compact table.

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

    uint32_t PacketType() const { return packetTypeWord & 0xFFFFu; }
};

class ScanIndex {
public:
    // Reads the `scanCount` entries at `address`; they must lie inside the file.
    Status Open(const FileBytes& file, uint64_t address, uint64_t scanCount, uint32_t version);

    // The entry of the scan at `ordinal` (0 = first scan); ordinal < count.
    const ScanIndexEntry& Entry(uint64_t ordinal) const { return entries_[ordinal]; }

private:
    std::vector<ScanIndexEntry> entries_;
};

}  // namespace rawfile::native
