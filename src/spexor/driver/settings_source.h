#pragma once

#include <optional>
#include <string>

#include "spexor/driver/run_settings.h"

// True when a single argument names a parameter file: its last three
// characters are "ini" in any letter case (no dot needed).
bool IsParameterFileArgument(const std::string& argument);

// What the command line asks for: a run with complete settings, or, after
// the usage block, the help text or the version line, an end without a run.
struct SettingsRequest {
    enum class Kind { run, usage, help, version };
    Kind kind = Kind::run;
    std::optional<RunSettings> settings;  // for a run
};

// Chooses where the run settings come from: no arguments writes the usage
// block (an end with the fatal status); "--help" alone prints the help (an
// end with status 0); "--version" alone prints "spexor" and the version (an
// end with status 0); a single parameter-file argument is read as a
// parameter file; anything else is read as options and inputs. Raises
// SettingsError for bad options or parameter files, platform::FatalError
// when the output folder cannot be made.
SettingsRequest ObtainSettings(int argc, const std::string* argv);
