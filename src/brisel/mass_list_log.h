#pragma once

// The ".Log" file beside an MS1 file: one entry per failed mass-list fetch,
// appended, never truncated.

#include <cstdint>
#include <string>

// Appends the three lines of one failed fetch: the scan number as the failed
// call left it, the failure code, and the scan number asked for. Returns
// false, dropping the entry, when the log cannot be opened or written.
bool AppendMassListFailure(const std::string& logPath, int32_t returnedScan, int32_t errorCode, int32_t requestedScan);
