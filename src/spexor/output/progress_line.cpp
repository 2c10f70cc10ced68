#include "spexor/output/progress_line.h"

#include "spexor/output/number_format.h"

namespace {
constexpr const char* kPrefix = "[Morvane] <Output files>: ";
}

std::string ProgressText(int32_t scan, int32_t lastScan) {
    const double percent = lastScan > 0 ? static_cast<double>(scan) * 100.0 / static_cast<double>(lastScan) : 100.0;
    char number[MaxFixedChars(2)];
    char* end = WriteFixed(number, percent, 2);
    return kPrefix + std::string(number, end) + "%";
}

std::string FinalProgressText() { return std::string(kPrefix) + "100.00%"; }
