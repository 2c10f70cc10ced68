#pragma once

#include <string>

// Writes the usage block (no arguments given) to standard error.
void WriteUsageBlock();

// The text of an option error (a bad option or option value), as it is
// written to standard error before the one line break that ends it.
std::string OptionErrorText();

// Writes the help text to standard output, one flushed line at a time.
void PrintHelp();
