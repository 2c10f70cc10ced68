#include "rawfile/native/segment_table.h"

namespace rawfile::native {

namespace {

constexpr uint64_t kRecordSize = 28;

SegmentRecord ReadRecord(ByteReader& table) {
    SegmentRecord record;
    table.U32();
    record.low = table.F32();
    record.high = table.F32();
    record.step = table.F64();
    record.offset = table.U32();
    table.U32();
    return record;
}

}  // namespace

Status ReadSegmentTable(const FileBytes& file, uint64_t tableAddress, uint32_t recordCount,
                        std::vector<SegmentRecord>* records) {
    records->clear();
    if (recordCount < 1) {
        return kDamaged;
    }
    thread_local ReadBuffer buffer;  // kept from scan to scan
    ByteReader table = file.Read(tableAddress, static_cast<uint64_t>(recordCount) * kRecordSize, buffer);
    if (!table.ok()) {
        return kDamaged;
    }
    records->reserve(recordCount);
    for (uint32_t i = 0; i < recordCount; ++i) {
        records->push_back(ReadRecord(table));
    }
    return kOk;
}

}  // namespace rawfile::native
