#pragma once

// spexor's console lines: every line starts with the program's "[Morvane] "
// prefix, failures with "[Morvane] <Exception>: ". Lines are written whole
// and flushed at once; progress lines end in a carriage return so that the
// next one overwrites them.

#include <string>
#include <string_view>

namespace console {

// "[Morvane] " + text.
std::string Line(std::string_view text);
// "[Morvane] <Exception>: " + text.
std::string ExceptionLine(std::string_view text);

// Line(text) on standard output.
void Report(std::string_view text);
// ExceptionLine(text) on standard error: a failure.
void ReportException(std::string_view text);
// ExceptionLine(text) on standard output: a note the run goes on after.
void NoteException(std::string_view text);
// Line(text) as a progress line on standard output.
void Progress(std::string_view text);

}  // namespace console
