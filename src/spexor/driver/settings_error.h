#pragma once

#include <stdexcept>
#include <string>

// An error found while building the run settings from the command line or a
// parameter file. It carries the whole text that is written to standard
// error (without the one line break that ends the written line); the parser
// that raised it writes it and ends the process.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const std::string& text) : std::runtime_error(text) {}
};
