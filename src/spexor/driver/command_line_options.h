#pragma once

#include <string>

#include "spexor/driver/configuration_input.h"
#include "spexor/driver/run_settings.h"

// Reads the options and inputs of argv[1] to argv[argc-1] (argv[0] is the
// program path). Prints the help text where "--help" stands. Raises
// SettingsError with the option-error text on an unknown option, a value of
// the wrong length, a value that would give a negative number of decimals,
// or an option whose value is missing.
ConfigurationInput ReadOptions(int argc, const std::string* argv);

// The settings of a run configured by options: ReadOptions, then the output
// directory is prepared and the RAW files discovered. Raises SettingsError,
// carrying the option-error text, when an option is bad.
RunSettings ParseCommandLine(int argc, const std::string* argv);
