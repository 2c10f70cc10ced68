#pragma once

// The per-scan event stream at the run header's scan event address, and the
// event hierarchy (the method's event templates) after the error log. The
// stream has no index: it is walked once at open to find where each scan's
// event starts, and must end exactly at the trailer-extra records.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/scan_event.h"

namespace rawfile::native {

struct ScanEventTable {
    EventLayout layout;
    std::vector<uint64_t> offsets;  // file offset of each scan's event, in scan order
};

// Walks the events of `scanCount` scans with the version's layout, and with
// the other known preamble sizes when that one does not end the stream at
// the trailer-extra address.
Status IndexScanEvents(const ByteReader& file, const RunHeader& header, uint64_t scanCount, uint32_t version,
                       ScanEventTable* table);

// Steps over the event hierarchy at the cursor.
bool SkipScanEventHierarchy(ByteReader& in, const EventLayout& layout);

}  // namespace rawfile::native
