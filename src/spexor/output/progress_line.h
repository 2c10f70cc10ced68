#pragma once

#include <cstdint>
#include <string>

// The text of a progress line: "<Output files>: " and the share of the file done at `scan`,
// scan x 100 / last with two decimals and a percent sign. A last scan
// number of 0 or less gives 100.00.
std::string ProgressText(int32_t scan, int32_t lastScan);

// The same label with "100.00%", shown when the file is done.
std::string FinalProgressText();
