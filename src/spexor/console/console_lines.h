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
// ExceptionLine(text) on standard error, a line of `message` (the text
// without its scan number and such), which may come once per scan.
void ReportRepeatableException(std::string_view message, std::string_view text);

// While it lives (the conversion of one RAW file), each repeatable message
// is written for its first kShownRepeats lines only, the others counted;
// at its end one line per such message on standard error says how many
// more there were (not when a fatal error ends the run: its line stays the
// last).
class RepeatLimitOfFile {
public:
    static constexpr int kShownRepeats = 10;

    RepeatLimitOfFile();
    ~RepeatLimitOfFile();
    RepeatLimitOfFile(const RepeatLimitOfFile&) = delete;
    RepeatLimitOfFile& operator=(const RepeatLimitOfFile&) = delete;

private:
    int exceptionsAtStart_;
};

}  // namespace console
