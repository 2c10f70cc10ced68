#pragma once

#include <string>

#include "platform/fatal_error.h"

// An error found while building the run settings from the command line or a
// parameter file: a fatal error carrying the whole text that main writes to
// standard error (without the one line break that ends the written line).
class SettingsError : public platform::FatalError {
public:
    explicit SettingsError(const std::string& text) : platform::FatalError(text) {}
};
