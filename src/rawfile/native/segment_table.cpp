#include "rawfile/native/segment_table.h"

namespace rawfile::native {

namespace {

// The first format version whose records are 28 bytes wide; it is also
// the one at which the file's addresses widen to 64 bits.
constexpr uint32_t kWideRecordVersion = 64;
constexpr uint64_t kWideRecordSize = 28;    // u32 0, f32 low, f32 high, f64 step, u32 offset, u32 0
constexpr uint64_t kNarrowRecordSize = 20;  // u32 offset, f32 low, f32 high, f64 step

SegmentRecord ReadWideRecord(ByteReader& table) {
    SegmentRecord record;
    table.U32();
    record.low = table.F32();
    record.high = table.F32();
    record.step = table.F64();
    record.offset = table.U32();
    table.U32();
    return record;
}

SegmentRecord ReadNarrowRecord(ByteReader& table) {
    SegmentRecord record;
    record.offset = table.U32();
    record.low = table.F32();
    record.high = table.F32();
    record.step = table.F64();
    return record;
}

}  // namespace

Status ReadSegmentTable(const FileBytes& file, uint64_t tableAddress, uint32_t recordCount, uint32_t formatVersion,
                        std::vector<SegmentRecord>* records) {
    records->clear();
    if (recordCount < 1) {
        return kDamaged;
    }
    const bool wide = formatVersion >= kWideRecordVersion;
    const uint64_t recordSize = wide ? kWideRecordSize : kNarrowRecordSize;
    thread_local ReadBuffer buffer;  // kept from scan to scan
    ByteReader table = file.Read(tableAddress, static_cast<uint64_t>(recordCount) * recordSize, buffer);
    if (!table.ok()) {
        return kDamaged;
    }
    records->reserve(recordCount);
    for (uint32_t i = 0; i < recordCount; ++i) {
        records->push_back(wide ? ReadWideRecord(table) : ReadNarrowRecord(table));
    }
    return kOk;
}

}  // namespace rawfile::native
