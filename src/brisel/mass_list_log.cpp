#include "brisel/mass_list_log.h"

#include <cstdio>

bool AppendMassListFailure(const std::string& logPath, int32_t returnedScan, int32_t errorCode, int32_t requestedScan) {
    std::FILE* log = std::fopen(logPath.c_str(), "a");
    if (log == nullptr) return false;
    std::fprintf(log, "ScanNumber: %d\n", returnedScan);
    std::fprintf(log, "Error code: %d\n", errorCode);
    std::fprintf(log, "nbuffScanNumber: %d\n", requestedScan);
    const bool written = std::ferror(log) == 0;
    return std::fclose(log) == 0 && written;
}
