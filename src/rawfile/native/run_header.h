#pragma once

// The run header of one controller: scan range, the filter mass precision
// and the addresses of the structures of its data.

#include <cstdint>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

struct RunHeader {
    int32_t firstScan = 0;
    int32_t lastScan = 0;
    uint32_t errorLogCount = 0;
    uint32_t trailerExtraCount = 0;
    uint32_t filterMassPrecision = 0;  // decimals of masses in filter texts
    uint64_t scanIndexAddress = 0;
    uint64_t dataAddress = 0;
    uint64_t errorLogAddress = 0;
    uint64_t scanEventAddress = 0;
    uint64_t trailerExtraAddress = 0;
    uint64_t instrumentAddress = 0;  // the instrument identification, directly after the header
};

// Reads the run header at `address` of `file` (the whole file's span).
Status ReadRunHeader(const FileBytes& file, uint64_t address, uint32_t version, RunHeader* header);

// True when every address the header holds lies inside the file.
bool AddressesLieInFile(const RunHeader& header, uint64_t fileSize);

// Number of scans the header's range holds: 0 unless 1 <= first <= last.
// An acquisition without scans stores the range 0 to 0 (or an empty one);
// a range that spans numbers but starts below 1 is damage (kDamaged), as
// answering it would send a caller through every number in it, each one
// failing.
Status CountScans(const RunHeader& header, uint64_t* count);

}  // namespace rawfile::native
