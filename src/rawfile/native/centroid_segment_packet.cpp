#include "rawfile/native/centroid_segment_packet.h"

#include "rawfile/native/segment_table.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kPeakSize = 8;  // f32 m/z, f32 intensity
constexpr uint64_t kFlagSize = 1;

}  // namespace

Status AppendCentroidSegments(const FileBytes& file, uint64_t dataAddress, uint64_t tableAddress, uint32_t recordCount,
                              uint32_t formatVersion, std::vector<double>* pairs) {
    std::vector<SegmentRecord> records;
    if (const Status status = ReadSegmentTable(file, tableAddress, recordCount, formatVersion, &records); status != kOk) {
        return status;
    }
    const uint64_t peakBytes = records.back().offset;
    if (peakBytes % kPeakSize != 0) {
        return kDamaged;
    }
    const uint64_t count = peakBytes / kPeakSize;
    const uint64_t packetBytes = count * (kPeakSize + kFlagSize);
    if (packetBytes > tableAddress || tableAddress - packetBytes < dataAddress) {
        return kDamaged;
    }
    const uint64_t start = tableAddress - packetBytes;
    if (records.front().offset != start - dataAddress) {
        return kDamaged;
    }
    if (recordCount == 1 && count != 0) {
        return kDamaged;  // peaks without any segment
    }
    thread_local ReadBuffer buffer;  // kept from scan to scan
    ByteReader peaks = file.Read(start, peakBytes, buffer);
    pairs->reserve(pairs->size() + 2 * count);
    for (uint64_t i = 0; i < count; ++i) {
        pairs->push_back(static_cast<double>(peaks.F32()));
        pairs->push_back(static_cast<double>(peaks.F32()));
    }
    return peaks.ok() ? kOk : kDamaged;
}

}  // namespace rawfile::native
