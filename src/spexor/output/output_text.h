#pragma once

// Numbers written straight into an output file's buffer, formatted as the
// printf conversions named (see number_format.h).

#include <cstdint>

#include "spexor/output/number_format.h"
#include "spexor/output/output_file.h"

inline void PutInt(OutputFile& file, int32_t value) { file.Commit(WriteInt(file.Reserve(kMaxIntegerChars), value)); }

inline void PutZeroPadded6(OutputFile& file, int32_t value) {
    file.Commit(WriteZeroPadded6(file.Reserve(kMaxIntegerChars), value));
}

inline void PutFixed(OutputFile& file, double value, int decimals) {
    file.Commit(WriteFixed(file.Reserve(MaxFixedChars(decimals)), value, decimals));
}

inline void PutGeneral10(OutputFile& file, double value) {
    file.Commit(WriteGeneral10(file.Reserve(kMaxGeneralChars), value));
}
