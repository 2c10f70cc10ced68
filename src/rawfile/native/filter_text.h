#pragma once

// The filter text of a scan, rebuilt from its scan event the way Thermo's
// library writes it: "FTMS + p NSI Full ms [350.0000-2000.0000]",
// "ITMS + c ESI d Full ms2 810.79@cid35.00 [210.00-1635.00]".

#include <cstdint>
#include <string>

#include "rawfile/backend.h"
#include "rawfile/native/scan_event.h"

namespace rawfile::native {

// `massPrecision` is the run header's filter mass precision (decimals of
// precursor and range masses). Fails for an event holding a value whose
// printed form is not known (an activation code without a name, an
// undefined scan type ...) and for numbers that cannot be printed.
Status BuildFilterText(const ScanEvent& event, uint32_t massPrecision, std::string* text);

}  // namespace rawfile::native
