#pragma once

struct RawFileJob;

// Converts one RAW file: opens it through the job's reader, walks every scan
// from first to last, writes each spectrum to the output slots it is routed
// to, then closes the outputs and the RAW file.
void RunExtraction(RawFileJob& job);

// The end of a file's conversion once its scans are written: the final
// progress line, the outputs closed (empty and failed ones removed), the
// marker file, "Output Files Completed!" when no output failed, and the RAW
// file closed.
void FinishExtraction(RawFileJob& job);
