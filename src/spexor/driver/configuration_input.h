#pragma once

#include <string>
#include <vector>

#include "spexor/driver/run_settings.h"

// What the command line or a parameter file says, before the output
// directory is prepared and the inputs are discovered.
struct ConfigurationInput {
    RunSettings settings;
    std::vector<std::string> inputs;  // files and folders, as written, in order
};

// The last two steps every configuration shares: prepares the output
// directory, then discovers the RAW files of the inputs.
RunSettings CompleteSettings(ConfigurationInput input);
