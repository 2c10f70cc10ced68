#pragma once

// The triple-quadrupole segmented profile packet (type 16): a table of
// segment records (low and high m/z, step, start of the segment's
// intensities) ending in a terminator record, with the f32 intensity block
// lying directly before the table.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

// the table of `recordCount` records starts at
// `tableAddress`; no intensity may lie before `dataAddress`.
Status AppendSegmentedProfile(const FileBytes& file, uint64_t dataAddress, uint64_t tableAddress, uint32_t recordCount,
                              uint32_t formatVersion, std::vector<double>* pairs);

}  // namespace rawfile::native
