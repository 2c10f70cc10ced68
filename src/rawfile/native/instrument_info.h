#pragma once

// The instrument identification directly after a controller's run header:
// 8 bytes of unknown meaning, a u32 flag, then length-prefixed texts: name,
// model, one more text only when the flag is non-zero, serial number,
// software version, hardware version (and three more texts nobody asks for).

#include <cstdint>
#include <string>

#include "rawfile/native/byte_reader.h"
#include "rawfile/native/file_bytes.h"

namespace rawfile::native {

struct InstrumentInfo {
    std::string name;
    std::string model;
    std::string serialNumber;
    std::string softwareVersion;
    std::string hardwareVersion;
};

// Reads the block at `address` of `file`. A block
// that does not read whole gives all texts empty: nothing else in the file
// depends on it, so its damage does not stop the file from being read.
InstrumentInfo ReadInstrumentInfo(const FileBytes& file, uint64_t address);

}  // namespace rawfile::native
