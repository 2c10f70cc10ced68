#include "rawfile/native/scan_event_stream.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kSmallestEventSize = 80;  // the shortest known preamble

bool WalkStream(ByteReader stream, uint64_t scanCount, const EventLayout& layout, std::vector<uint64_t>* offsets,
                uint64_t streamAddress) {
    offsets->clear();
    stream.U32();  // scan count in older files, 0 in newer: not relied on
    for (uint64_t i = 0; i < scanCount && stream.ok(); ++i) {
        offsets->push_back(streamAddress + stream.position());
        SkipScanEvent(stream, layout);
    }
    return stream.ok() && stream.remaining() == 0;
}

}  // namespace

Status IndexScanEvents(const ByteReader& file, const RunHeader& header, uint64_t scanCount, uint32_t version,
                       ScanEventTable* table) {
    table->offsets.clear();
    table->layout = EventLayoutFor(version);
    if (scanCount == 0) {
        return kOk;
    }
    if (header.scanEventAddress > header.trailerExtraAddress) {
        return kDamaged;
    }
    const ByteReader stream =
        file.Region(header.scanEventAddress, header.trailerExtraAddress - header.scanEventAddress);
    if (!stream.ok()) {
        return kDamaged;
    }
    // Every event holds at least its preamble: a count the stream cannot
    // hold is refused before anything is allocated for it.
    if (scanCount > stream.size() / kSmallestEventSize) {
        return kDamaged;
    }
    table->offsets.reserve(scanCount);
    if (WalkStream(stream, scanCount, table->layout, &table->offsets, header.scanEventAddress)) {
        return kOk;
    }
    for (const EventLayout& other : AlternativeEventLayouts(table->layout)) {
        if (WalkStream(stream, scanCount, other, &table->offsets, header.scanEventAddress)) {
            table->layout = other;
            return kOk;
        }
    }
    table->offsets.clear();
    return kDamaged;
}

bool SkipScanEventHierarchy(ByteReader& in, const EventLayout& layout) {
    const uint32_t segments = in.U32();
    if (!in.CanRead(static_cast<uint64_t>(segments) * 4)) {
        in.Fail();
    }
    for (uint32_t s = 0; s < segments && in.ok(); ++s) {
        const uint32_t templates = in.U32();
        if (!in.CanRead(static_cast<uint64_t>(templates) * layout.preambleSize)) {
            in.Fail();
        }
        for (uint32_t t = 0; t < templates && in.ok(); ++t) {
            SkipScanEvent(in, layout);
        }
    }
    return in.ok();
}

}  // namespace rawfile::native
