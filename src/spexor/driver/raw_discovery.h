#pragma once

#include <string>
#include <vector>

#include "spexor/driver/run_settings.h"

// Turns the inputs (RAW files and folders holding RAW files, as written) into
// the RAW files to convert, appended to `settings.rawFiles` in the order
// found. A file whose name is already listed (from any folder, compared
// without regard to case) is skipped: reported on standard output with the
// file it collides with and counted, unless it is that very file. Inputs that yield nothing are reported
// on standard output and skipped; this never fails.
void DiscoverRawFiles(RunSettings& settings, const std::vector<std::string>& inputs);
