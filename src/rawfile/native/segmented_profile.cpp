#include "rawfile/native/segmented_profile.h"

#include "rawfile/native/segment_table.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kIntensitySize = 4;

}  // namespace

Status AppendSegmentedProfile(const FileBytes& file, uint64_t dataAddress, uint64_t tableAddress, uint32_t recordCount,
                              uint32_t formatVersion, std::vector<double>* pairs) {
    std::vector<SegmentRecord> records;
    if (const Status status = ReadSegmentTable(file, tableAddress, recordCount, formatVersion, &records); status != kOk) {
        return status;
    }
    // The terminator's offset is the length of the intensity block before the table.
    const uint64_t blockLength = records.back().offset;
    if (blockLength % kIntensitySize != 0 || blockLength > tableAddress || tableAddress - blockLength < dataAddress) {
        return kDamaged;
    }
    const uint64_t blockStart = tableAddress - blockLength;
    if (records.front().offset != blockStart - dataAddress) {
        return kDamaged;
    }
    thread_local ReadBuffer buffer;  // kept from scan to scan
    ByteReader block = file.Read(blockStart, blockLength, buffer);
    if (recordCount == 1 && blockLength != 0) {
        return kDamaged;  // intensities without any segment
    }
    // Segment starts within the block: the first at 0, the others as stored
    // (the terminator's being the block's length).
    const auto start = [&records](uint32_t s) -> uint64_t { return s == 0 ? 0 : records[s].offset; };
    for (uint32_t s = 0; s + 1 < recordCount; ++s) {
        const uint64_t begin = start(s);
        const uint64_t end = start(s + 1);
        if (end < begin || end > blockLength || (end - begin) % kIntensitySize != 0) {
            return kDamaged;
        }
        ByteReader intensities = block.Region(begin, end - begin);
        const uint64_t count = (end - begin) / kIntensitySize;
        const double low = static_cast<double>(records[s].low);
        for (uint64_t k = 0; k < count; ++k) {
            pairs->push_back(low + static_cast<double>(k) * records[s].step);
            pairs->push_back(static_cast<double>(intensities.F32()));
        }
        if (!intensities.ok()) {
            return kDamaged;
        }
    }
    return kOk;
}

}  // namespace rawfile::native
