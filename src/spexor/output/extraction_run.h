#pragma once

struct RawFileJob;

// Converts one RAW file: opens it through the job's reader, walks every scan
// from first to last, writes each spectrum to the output slots it is routed
// to, then closes the outputs and the RAW file.
void RunExtraction(RawFileJob& job);
