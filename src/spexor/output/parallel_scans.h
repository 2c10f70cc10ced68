#pragma once

#include <cstdint>

struct RawFileJob;

// Converts scans `first` to `last` of the job's open file into its open
// outputs. With more than one thread for the job (and a file of more than
// a few chunks of scans) the scans are converted in chunks on worker
// threads, each with its own reader over the same file and its own writers
// into memory, and the chunks are handed to the files' writers, their console lines
// onto the console, in scan order: the files, the lines and a fatal ending
// are exactly those of a conversion on one thread.
void ConvertAllScans(RawFileJob& job, int32_t first, int32_t last);
