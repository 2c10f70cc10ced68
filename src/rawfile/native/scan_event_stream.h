#pragma once

// The per-scan event stream at the run header's scan event address, and the
// event hierarchy (the method's event templates, per segment) after the
// error log. The stream has no index: it is walked once at open to find
// where each scan's event starts, and must end exactly at the trailer-extra
// records. Some acquisitions (triple-quadrupole SRM methods) store no event
// per scan: the stream then holds only its leading word, and each scan's
// event is the template its index entry names by segment and event number.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/run_header.h"
#include "rawfile/native/scan_event.h"

namespace rawfile::native {

// Where one event's bytes lie in the file.
struct EventSpan {
    uint64_t offset = 0;
    uint64_t size = 0;
};

struct ScanEventTable {
    // The stream is divided into blocks of this many events; the walk at
    // open keeps where each block starts, so that memory stays small
    // whatever the number of scans, and a scan's event is found by reading
    // its block.
    static constexpr uint64_t kEventsPerBlock = 256;

    EventLayout layout;
    bool perScan = true;  // false: every scan's event is a template
    // Per-scan events: the file offset of each block's first event, then
    // the end of the stream.
    std::vector<uint64_t> blockStarts;
    std::vector<std::vector<EventSpan>> templates;  // by segment

    // The bytes of block `block`'s events (per-scan events only).
    EventSpan BlockSpan(uint64_t block) const {
        return {blockStarts[block], blockStarts[block + 1] - blockStarts[block]};
    }
};

// Walks the events of `scanCount` scans with the version's layout, and with
// the other known preamble sizes when that one does not end the stream at
// the trailer-extra address.
Status IndexScanEvents(const FileBytes& file, const RunHeader& header, uint64_t scanCount, uint32_t version,
                       ScanEventTable* table);

// Reads the event hierarchy at the cursor (whose position 0 lies at file
// offset `base`) into table->templates, leaving the cursor after it. When
// the scans take their events from the templates, the other known preamble
// sizes are tried if the version's does not fit.
bool ReadScanEventHierarchy(ByteReader& in, uint64_t base, ScanEventTable* table);

}  // namespace rawfile::native
