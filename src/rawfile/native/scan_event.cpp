#include "rawfile/native/scan_event.h"

namespace rawfile::native {

namespace {

constexpr uint32_t kVersionWithMidPreamble = 62;
constexpr uint32_t kFirstVersionWithLongPreamble = 63;
constexpr uint32_t kFirstVersionWithLongestPreamble = 66;
constexpr uint64_t kKnownPreambleSizes[] = {80, 120, 128, 132};

// Preamble byte positions.
constexpr uint64_t kPolarity = 4;
constexpr uint64_t kDataType = 5;
constexpr uint64_t kMsOrder = 6;
constexpr uint64_t kScanType = 7;
constexpr uint64_t kSourceFragmentation = 8;
constexpr uint64_t kDependent = 10;
constexpr uint64_t kIonization = 11;
constexpr uint64_t kWideband = 32;
constexpr uint64_t kAnalyzer = 40;
constexpr uint64_t kSupplementalActivation = 120;
constexpr uint64_t kScanRate = 129;

constexpr uint64_t kMassRangeSize = 16;
constexpr uint64_t kDoubleSize = 8;

void ReadPreamble(ByteReader& in, const EventLayout& layout, ScanEvent* event) {
    ByteReader preamble = in.Take(layout.preambleSize);
    if (!preamble.ok()) {
        return;
    }
    const uint8_t* bytes = preamble.data();
    event->polarity = bytes[kPolarity];
    event->dataType = bytes[kDataType];
    event->msOrder = static_cast<int8_t>(bytes[kMsOrder]);
    event->scanType = bytes[kScanType];
    event->sourceFragmentation = bytes[kSourceFragmentation];
    event->dependent = bytes[kDependent];
    event->ionization = bytes[kIonization];
    event->wideband = bytes[kWideband];
    event->analyzer = bytes[kAnalyzer];
    event->supplementalActivation = layout.preambleSize > kSupplementalActivation ? bytes[kSupplementalActivation] : 0;
    event->scanRate = layout.preambleSize > kScanRate ? bytes[kScanRate] : 0;
}

// Reads a count and checks that that many elements of `elementSize` bytes
// follow; 0 with the cursor failed when they do not.
uint32_t ReadBoundedCount(ByteReader& in, uint64_t elementSize) {
    const uint32_t count = in.U32();
    if (!in.CanRead(static_cast<uint64_t>(count) * elementSize)) {
        in.Fail();
        return 0;
    }
    return count;
}

void ReadReactions(ByteReader& in, const EventLayout& layout, std::vector<Reaction>* reactions) {
    const uint32_t count = ReadBoundedCount(in, layout.reactionSize);
    reactions->resize(count);
    for (Reaction& reaction : *reactions) {
        ByteReader item = in.Take(layout.reactionSize);
        reaction.precursorMz = item.F64();
        reaction.isolationWidth = item.F64();
        reaction.collisionEnergy = item.F64();
        reaction.flags = item.U32();
    }
}

void ReadMassRanges(ByteReader& in, std::vector<MassRange>* ranges) {
    const uint32_t count = ReadBoundedCount(in, kMassRangeSize);
    ranges->resize(count);
    for (MassRange& range : *ranges) {
        range.low = in.F64();
        range.high = in.F64();
    }
}

void ReadDoubles(ByteReader& in, std::vector<double>* values) {
    const uint32_t count = ReadBoundedCount(in, kDoubleSize);
    values->resize(count);
    for (double& value : *values) {
        value = in.F64();
    }
}

void SkipDoubles(ByteReader& in) {
    const uint32_t count = ReadBoundedCount(in, kDoubleSize);
    in.Skip(static_cast<uint64_t>(count) * kDoubleSize);
}

}  // namespace

EventLayout EventLayoutFor(uint32_t version) {
    EventLayout layout;
    if (version < kVersionWithMidPreamble) {
        layout.preambleSize = 80;
    } else if (version < kFirstVersionWithLongPreamble) {
        layout.preambleSize = 120;
    } else if (version < kFirstVersionWithLongestPreamble) {
        layout.preambleSize = 128;
    } else {
        layout.preambleSize = 132;
    }
    const bool longest = version >= kFirstVersionWithLongestPreamble;
    layout.wordAfterPreamble = longest;
    layout.reactionSize = longest ? 56 : 32;
    layout.trailingLists = longest ? 3 : 2;
    return layout;
}

std::vector<EventLayout> AlternativeEventLayouts(const EventLayout& layout) {
    std::vector<EventLayout> alternatives;
    for (uint64_t size : kKnownPreambleSizes) {
        if (size != layout.preambleSize) {
            EventLayout other = layout;
            other.preambleSize = size;
            alternatives.push_back(other);
        }
    }
    return alternatives;
}

bool ReadScanEvent(ByteReader& in, const EventLayout& layout, ScanEvent* event) {
    ReadPreamble(in, layout, event);
    if (layout.wordAfterPreamble) {
        in.U32();
    }
    ReadReactions(in, layout, &event->reactions);
    ReadMassRanges(in, &event->massRanges);
    ReadDoubles(in, &event->coefficients);
    ReadDoubles(in, &event->sourceFragmentationEnergies);
    for (int i = 1; i < layout.trailingLists; ++i) {
        SkipDoubles(in);
    }
    return in.ok();
}

bool SkipScanEvent(ByteReader& in, const EventLayout& layout) {
    in.Skip(layout.preambleSize);
    if (layout.wordAfterPreamble) {
        in.U32();
    }
    const uint32_t reactions = ReadBoundedCount(in, layout.reactionSize);
    in.Skip(static_cast<uint64_t>(reactions) * layout.reactionSize);
    const uint32_t ranges = ReadBoundedCount(in, kMassRangeSize);
    in.Skip(static_cast<uint64_t>(ranges) * kMassRangeSize);
    SkipDoubles(in);  // coefficients
    for (int i = 0; i < layout.trailingLists; ++i) {
        SkipDoubles(in);
    }
    return in.ok();
}

}  // namespace rawfile::native
