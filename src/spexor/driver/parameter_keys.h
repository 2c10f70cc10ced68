#pragma once

#include <string>

#include "spexor/driver/configuration_input.h"

// Applies one "key=value" setting of a parameter file found on line
// `lineNumber`. Raises SettingsError with the line-numbered message for an
// unknown key or a bad value.
void ApplyParameter(ConfigurationInput& input, const std::string& key, const std::string& value, int lineNumber);

// The message of an error on one line: the parameter-file error heading,
// then "Line <n>: " and the description.
std::string ParameterLineError(int lineNumber, const std::string& description);
