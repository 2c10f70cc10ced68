#include "rawfile/native/scan_event_stream.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kSmallestEventSize = 80;  // the shortest known preamble
constexpr uint64_t kLeadingWordSize = 4;
constexpr uint64_t kWalkWindow = 1 << 20;  // bytes of the stream read at a time

bool WalkHierarchy(ByteReader& in, uint64_t base, const EventLayout& layout,
                   std::vector<std::vector<EventSpan>>* templates) {
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
        std::vector<EventSpan>& spans = templates->emplace_back();
        for (uint32_t t = 0; t < count && in.ok(); ++t) {
            const uint64_t start = in.position();
            SkipScanEvent(in, layout);
            spans.push_back({base + start, in.position() - start});
        }
    }
    return in.ok();
}

// Steps over the events of one window of the stream, counting them in
// *walked and appending the start of each block's first; returns the
// position after the last whole one.
uint64_t WalkWindow(ByteReader in, uint64_t windowAddress, uint64_t scanCount, const EventLayout& layout,
                    uint64_t* walked, std::vector<uint64_t>* blockStarts) {
    while (*walked < scanCount) {
        ByteReader attempt = in;
        if (!SkipScanEvent(attempt, layout)) {
            break;
        }
        if (*walked % ScanEventTable::kEventsPerBlock == 0) {
            blockStarts->push_back(windowAddress + in.position());
        }
        ++*walked;
        in = attempt;
    }
    return in.position();
}

// The stream is read a window at a time, each starting at an event; a
// window in which not even one event fits whole is read again twice as
// long.
bool WalkStream(const FileBytes& file, uint64_t streamAddress, uint64_t streamSize, uint64_t scanCount,
                const EventLayout& layout, std::vector<uint64_t>* blockStarts) {
    blockStarts->clear();
    ReadBuffer buffer;
    uint64_t at = kLeadingWordSize;  // scan count in older files, 0 in newer: not relied on
    uint64_t window = kWalkWindow;
    uint64_t walked = 0;
    while (walked < scanCount) {
        const uint64_t start = at;
        const uint64_t length = streamSize - start < window ? streamSize - start : window;
        const ByteReader in = file.Read(streamAddress + start, length, buffer);
        if (!in.ok()) {
            return false;
        }
        const uint64_t before = walked;
        at = start + WalkWindow(in, streamAddress + start, scanCount, layout, &walked, blockStarts);
        if (walked == scanCount) {
            break;
        }
        if (start + length == streamSize) {
            return false;  // the rest of the stream was there and an event did not fit
        }
        window = walked == before ? 2 * window : kWalkWindow;
    }
    blockStarts->push_back(streamAddress + at);
    return at == streamSize;
}

}  // namespace

Status IndexScanEvents(const FileBytes& file, const RunHeader& header, uint64_t scanCount, uint32_t version,
                       ScanEventTable* table) {
    table->blockStarts.clear();
    table->layout = EventLayoutFor(version);
    if (scanCount == 0) {
        return kOk;
    }
    if (header.scanEventAddress > header.trailerExtraAddress || header.trailerExtraAddress > file.size()) {
        return kDamaged;
    }
    const uint64_t streamSize = header.trailerExtraAddress - header.scanEventAddress;
    if (streamSize < kLeadingWordSize) {
        return kDamaged;
    }
    if (streamSize == kLeadingWordSize) {
        table->perScan = false;  // the events are the hierarchy's templates
        return kOk;
    }
    // Every event holds at least its preamble: a count the stream cannot
    // hold is refused before anything is allocated for it.
    if (scanCount > streamSize / kSmallestEventSize) {
        return kDamaged;
    }
    if (WalkStream(file, header.scanEventAddress, streamSize, scanCount, table->layout, &table->blockStarts)) {
        return kOk;
    }
    for (const EventLayout& other : AlternativeEventLayouts(table->layout)) {
        if (WalkStream(file, header.scanEventAddress, streamSize, scanCount, other, &table->blockStarts)) {
            table->layout = other;
            return kOk;
        }
    }
    table->blockStarts.clear();
    return kDamaged;
}

bool ReadScanEventHierarchy(ByteReader& in, uint64_t base, ScanEventTable* table) {
    ByteReader attempt = in;
    if (WalkHierarchy(attempt, base, table->layout, &table->templates)) {
        in = attempt;
        return true;
    }
    if (!table->perScan) {
        for (const EventLayout& other : AlternativeEventLayouts(table->layout)) {
            attempt = in;
            if (WalkHierarchy(attempt, base, other, &table->templates)) {
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
