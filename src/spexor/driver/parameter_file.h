#pragma once

#include <istream>
#include <string>

#include "spexor/driver/configuration_input.h"
#include "spexor/driver/run_settings.h"

// Reads the lines of a parameter file into settings (starting from the
// defaults) and a list of inputs. Raises SettingsError with the message of
// the first bad line; nothing after it is read.
ConfigurationInput ReadParameterText(std::istream& text);

// The settings of a run configured by the parameter file at `path`: the
// file is read, then the output directory is prepared and the RAW files
// discovered. Raises SettingsError, carrying the message, when the file
// cannot be opened or holds a bad line.
RunSettings ReadParameterFile(const std::string& path);
