#pragma once

#include <string>

#include "spexor/driver/run_settings.h"

// Looks up the output directory, creates it with all missing parents when it
// is not there, and leaves it ending in exactly one separator. An empty
// directory (output beside each RAW file) is left alone. Ends the process
// with the fatal status when the directory cannot be created.
void PrepareOutputDirectory(RunSettings& settings);

// Creates `path` and every missing parent. True when the directory could be
// made (or was there already); otherwise `reason`, when given, receives the
// system's reason why the directory itself could not be made.
bool CreateDirectoryNested(const std::string& path, std::string* reason = nullptr);
