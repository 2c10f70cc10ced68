#pragma once

// The triple-quadrupole centroid packet (type 24): the scan's peaks as
// n (f32 m/z, f32 intensity) pairs, then n flag bytes, then the segment
// table (segment_table.h), whose terminator's offset word is the length of
// the pairs (8 n). The index entry points at the table and counts its
// records; the first record's offset word is where the pairs start,
// relative to the data address.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

// no byte of the packet may lie before `dataAddress`.
Status AppendCentroidSegments(const FileBytes& file, uint64_t dataAddress, uint64_t tableAddress, uint32_t recordCount,
                              uint32_t formatVersion, std::vector<double>* pairs);

}  // namespace rawfile::native
