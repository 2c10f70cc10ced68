#include "spexor/output/progress_line.h"

#include "spexor/output/number_format.h"

namespace {
constexpr const char* kLabel = "<Output files>: ";
}

std::string ProgressText(int32_t scan, int32_t lastScan) {
    const double percent = lastScan > 0 ? static_cast<double>(scan) * 100.0 / static_cast<double>(lastScan) : 100.0;
    char number[MaxFixedChars(2)];
    char* end = WriteFixed(number, percent, 2);
    return kLabel + std::string(number, end) + "%";
}

std::string FinalProgressText() { return std::string(kLabel) + "100.00%"; }
