#pragma once

// The raw file information: its fixed preamble holds the controller table,
// the run header address of every device that recorded data.

#include <cstdint>
#include <vector>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

struct RawFileInfo {
    std::vector<uint64_t> runHeaderAddresses;  // in table order
};

// Reads the preamble at the cursor.
Status ReadRawFileInfo(ByteReader& file, uint32_t version, RawFileInfo* info);

}  // namespace rawfile::native
