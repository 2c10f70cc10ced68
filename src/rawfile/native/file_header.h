#pragma once

// The file header at offset 0: magic, "Finnigan" signature, format version
// and the audit tags of creation and last modification.

#include <cstdint>
#include <string>

#include "rawfile/backend.h"
#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

inline constexpr uint64_t kFileHeaderSize = 1356;
inline constexpr uint32_t kOldestVersion = 57;
inline constexpr uint32_t kNewestVersion = 66;
// From this version on, the file's addresses (controller table, run header,
// scan index packet offsets) are 64-bit.
inline constexpr uint32_t kFirstVersionWithWideAddresses = 64;

struct FileHeader {
    uint32_t version = 0;
    uint64_t creationFiletime = 0;  // 100 ns ticks since 1601-01-01 UTC
};

// True when `bytes` start with the magic and the signature.
bool HasThermoSignature(const uint8_t* bytes, uint64_t size);

// Reads the header from the start of `file` and leaves the cursor after it.
// On failure, when `reason` is given, it receives a one-line reason: "not a
// Thermo RAW file", "truncated or damaged header" or "format version 70 is
// not supported (57 to 66 are)".
Status ReadFileHeader(ByteReader& file, FileHeader* header, std::string* reason = nullptr);

// The automation date (days since 1899-12-30) of a FILETIME, built from
// whole milliseconds.
double FiletimeToAutomationDate(uint64_t filetime);

}  // namespace rawfile::native
