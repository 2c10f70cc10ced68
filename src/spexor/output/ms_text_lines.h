#pragma once

// The pieces the MS1, MS2 and MS3 text formats share: the H header lines,
// the start of an S line and the I lines every spectrum starts with.

#include <cstdint>

#include "spexor/driver/run_settings.h"
#include "spexor/output/output_file.h"
#include "spexor/output/scan_record.h"

// H lines: creation date, extractor and its version, comments, data type.
void PutMsTextHeader(OutputFile& out, const ConversionSettings& settings);

// "S", a tab and the scan number twice: the start of every spectrum's S line.
void PutScanLineStart(OutputFile& out, int32_t scanNumber);

// The end of the S line and the I lines every spectrum starts with: peak
// count, retention time and ion injection time (the last without its line break).
void PutPeakCountAndTimes(OutputFile& out, const SpectrumRecord& record);
