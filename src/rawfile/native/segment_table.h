#pragma once

// The table of segment records that the triple-quadrupole packets (types 16
// and 24) keep after their data: one record per mass segment (low and high
// m/z, step, an offset), then a terminator record whose offset word gives
// the length of the data before the table. Files of format version 64 and
// later pad each record to 28 bytes, the offset word after the step; older
// files keep 20-byte records that begin with the offset word.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

struct SegmentRecord {
    float low = 0;
    float high = 0;
    double step = 0;
    uint64_t offset = 0;
};

// Reads `recordCount` records at `tableAddress` of `file`, laid out as the
// file's format version has them; at least the terminator must be there.
Status ReadSegmentTable(const FileBytes& file, uint64_t tableAddress, uint32_t recordCount, uint32_t formatVersion,
                        std::vector<SegmentRecord>* records);

}  // namespace rawfile::native
