#pragma once

// The sequencer row that follows the file header, and the autosampler
// information after it. Nothing in them is needed; the reader steps over
// them to reach the raw file information.

#include <cstdint>

#include "rawfile/native/byte_reader.h"

namespace rawfile::native {

// Steps over the sequencer row at the cursor; false when it does not fit.
bool SkipSequencerRow(ByteReader& file, uint32_t version);

// Steps over the autosampler information at the cursor.
bool SkipAutosamplerInfo(ByteReader& file);

}  // namespace rawfile::native
