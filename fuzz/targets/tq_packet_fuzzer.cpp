// libFuzzer target for the triple-quadrupole packets: the segmented profile
// (type 16) and the centroid segments (type 24), read through
// DecodeMassList from an index entry into the bytes of a file held in
// memory. The input gives, in order: a byte whose low bit picks type 16
// (1) or 24 (0), whose next bit picks the 20-byte segment records of
// format version 63 (1) or the 28-byte ones of version 66 (0), and whose
// other bits fill the high half of the type word;
// u16 data address, u16 packet offset (where the segment table lies, from
// the data address) and u16 record count; the rest is the file.
//
// Rules checked: the status is ok or damaged; no points unless it
// succeeds; the points are exactly those a decoder written from the
// format's description finds (the same segments, m/z steps and
// intensities, the same damage), bounded by the file's size.

#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "rawfile/native/file_bytes.h"
#include "rawfile/native/scan_packet.h"

namespace {

using fuzz::Require;
using rawfile::Status;

// A record's size and where its offset word lies, by format version.
struct RecordLayout {
    uint32_t formatVersion;
    uint64_t size;
    uint64_t offsetAt;
};
constexpr RecordLayout kWide = {66, 28, 20};
constexpr RecordLayout kNarrow = {63, 20, 0};

struct Record {
    float low = 0;
    double step = 0;
    uint64_t offset = 0;
};

template <typename T>
T Load(const uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The whole file as one span; the reference reads only what lies in it.
struct Span {
    const uint8_t* data;
    uint64_t size;
    bool Holds(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }
};

bool ReadTable(const Span& file, const RecordLayout& layout, uint64_t table, uint32_t count,
               std::vector<Record>* records) {
    if (count < 1 || !file.Holds(table, count * layout.size)) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* at = file.data + table + i * layout.size;
        records->push_back({Load<float>(at + 4), Load<double>(at + 12), Load<uint32_t>(at + layout.offsetAt)});
    }
    return true;
}

// Type 16: intensities of every segment in the block before the table.
Status ReferenceProfile(const Span& file, const RecordLayout& layout, uint64_t data, uint64_t table, uint32_t count,
                        std::vector<double>* pairs) {
    std::vector<Record> records;
    if (!ReadTable(file, layout, table, count, &records)) {
        return rawfile::kDamaged;
    }
    const uint64_t length = records.back().offset;
    if (length % 4 != 0 || length > table || table - length < data) {
        return rawfile::kDamaged;
    }
    const uint64_t block = table - length;
    if (records.front().offset != block - data || (count == 1 && length != 0)) {
        return rawfile::kDamaged;
    }
    for (uint32_t s = 0; s + 1 < count; ++s) {
        const uint64_t begin = s == 0 ? 0 : records[s].offset;
        const uint64_t end = records[s + 1].offset;
        if (end < begin || end > length || (end - begin) % 4 != 0) {
            return rawfile::kDamaged;
        }
        for (uint64_t k = 0; k < (end - begin) / 4; ++k) {
            pairs->push_back(static_cast<double>(records[s].low) + static_cast<double>(k) * records[s].step);
            pairs->push_back(static_cast<double>(Load<float>(file.data + block + begin + 4 * k)));
        }
    }
    return rawfile::kOk;
}

// Type 24: n (m/z, intensity) pairs and n flag bytes before the table.
Status ReferenceCentroids(const Span& file, const RecordLayout& layout, uint64_t data, uint64_t table,
                          uint32_t count, std::vector<double>* pairs) {
    std::vector<Record> records;
    if (!ReadTable(file, layout, table, count, &records)) {
        return rawfile::kDamaged;
    }
    const uint64_t peakBytes = records.back().offset;
    if (peakBytes % 8 != 0) {
        return rawfile::kDamaged;
    }
    const uint64_t n = peakBytes / 8;
    if (9 * n > table || table - 9 * n < data) {
        return rawfile::kDamaged;
    }
    const uint64_t start = table - 9 * n;
    if (records.front().offset != start - data || (count == 1 && n != 0)) {
        return rawfile::kDamaged;
    }
    for (uint64_t i = 0; i < 2 * n; ++i) {
        pairs->push_back(static_cast<double>(Load<float>(file.data + start + 4 * i)));
    }
    return rawfile::kOk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Controls controls(data, size);
    const uint8_t selector = controls.U8();
    const bool profile = (selector & 1) != 0;
    const uint32_t type = profile ? rawfile::native::kSegmentedProfile : rawfile::native::kCentroidSegments;
    const uint64_t dataAddress = controls.U16();
    rawfile::native::ScanIndexEntry entry;
    entry.packetOffset = controls.U16();
    entry.packetSize = controls.U16();
    const RecordLayout& layout = (selector & 2) != 0 ? kNarrow : kWide;
    entry.packetTypeWord = type | (static_cast<uint32_t>(selector >> 2) << 16);
    const Span span{controls.rest(), controls.restSize()};
    const rawfile::native::MemoryBytes file(span.data, span.size);

    rawfile::native::ReadBuffer buffer;
    std::vector<double> pairs = {1.0, 2.0, 3.0};  // what a previous scan left
    const rawfile::native::ScanEvent event;
    const Status status = rawfile::native::DecodeMassList(file, layout.formatVersion, dataAddress, entry, event, buffer, &pairs);
    Require(status == rawfile::kOk || status == rawfile::kDamaged, "status is ok or damaged");
    if (status != rawfile::kOk) {
        Require(pairs.empty(), "a failed mass list holds no points");
    }
    Require(pairs.size() % 2 == 0, "points come in (m/z, intensity) pairs");
    Require(pairs.size() / 2 <= span.size / (profile ? 4 : 9), "no more points than the file holds");

    std::vector<double> expected;
    Status expectedStatus = rawfile::kDamaged;
    if (dataAddress <= span.size && entry.packetOffset <= span.size - dataAddress) {
        const uint64_t table = dataAddress + entry.packetOffset;
        expectedStatus = profile ? ReferenceProfile(span, layout, dataAddress, table, entry.packetSize, &expected)
                                 : ReferenceCentroids(span, layout, dataAddress, table, entry.packetSize, &expected);
    }
    if (expectedStatus != rawfile::kOk) {
        expected.clear();
    }
    Require(status == expectedStatus, "the packet fails as its description says");
    Require(fuzz::SameBits(pairs, expected), "the points are those the description gives");
    return 0;
}
