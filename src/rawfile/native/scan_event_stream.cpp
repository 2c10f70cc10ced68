#include "rawfile/native/scan_event_stream.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kSmallestEventSize = 80;  // the shortest known preamble
constexpr uint64_t kLeadingWordSize = 4;

bool WalkHierarchy(ByteReader& in, const EventLayout& layout, std::vector<std::vector<uint64_t>>* templates) {
    templates->clear();
    const uint32_t segments = in.U32();
    if (!in.CanRead(static_cast<uint64_t>(segments) * 4)) {
        in.Fail();
    }
    for (uint32_t s = 0; s < segments && in.ok(); ++s) {
        const uint32_t count = in.U32();
        if (!in.CanRead(static_cast<uint64_t>(count) * layout.preambleSize)) {
            in.Fail();
        }
        std::vector<uint64_t>& offsets = templates->emplace_back();
        for (uint32_t t = 0; t < count && in.ok(); ++t) {
            offsets.push_back(in.position());
            SkipScanEvent(in, layout);
        }
    }
    return in.ok();
}

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
    if (stream.size() == kLeadingWordSize) {
        table->perScan = false;  // the events are the hierarchy's templates
        return kOk;
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

bool ReadScanEventHierarchy(ByteReader& in, ScanEventTable* table) {
    ByteReader attempt = in;
    if (WalkHierarchy(attempt, table->layout, &table->templates)) {
        in = attempt;
        return true;
    }
    if (!table->perScan) {
        for (const EventLayout& other : AlternativeEventLayouts(table->layout)) {
            attempt = in;
            if (WalkHierarchy(attempt, other, &table->templates)) {
                table->layout = other;
                in = attempt;
                return true;
            }
        }
    }
    table->templates.clear();
    in.Fail();
    return false;
}

}  // namespace rawfile::native
