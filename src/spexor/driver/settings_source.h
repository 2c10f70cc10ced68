#pragma once

#include <string>

#include "spexor/driver/run_settings.h"

// True when a single argument names a parameter file: its last three
// characters are "ini" in any letter case (no dot needed).
bool IsParameterFileArgument(const std::string& argument);

// Chooses where the run settings come from and returns them complete:
// no arguments writes the usage block and ends the process with the fatal
// status; "--help" alone prints the help and ends the process with status
// 0; a single parameter-file argument is read as a parameter file;
// anything else is read as options and inputs.
RunSettings ObtainSettings(int argc, const std::string* argv);
