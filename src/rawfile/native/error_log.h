#pragma once

// The error log at the run header's error log address: a leading word, then
// one record (retention time, message) per logged error. The reader steps
// over it; the scan event hierarchy follows directly.

#include <cstdint>

#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

// Steps over an error log of `count` records at the cursor.
bool SkipErrorLog(ByteReader& file, uint32_t count);

}  // namespace rawfile::native
