#include "spexor/console/console_lines.h"

#include <exception>
#include <vector>

#include "platform/console.h"

namespace console {

namespace {

constexpr std::string_view kPrefix = "[Morvane] ";
constexpr std::string_view kExceptionPrefix = "[Morvane] <Exception>: ";

std::string Joined(std::string_view prefix, std::string_view text) {
    std::string line;
    line.reserve(prefix.size() + text.size());
    line.append(prefix).append(text);
    return line;
}

}  // namespace

std::string Line(std::string_view text) { return Joined(kPrefix, text); }

std::string ExceptionLine(std::string_view text) { return Joined(kExceptionPrefix, text); }

void Report(std::string_view text) { platform::WriteLine(platform::Stream::Out, Line(text)); }

void ReportException(std::string_view text) { platform::WriteLine(platform::Stream::Err, ExceptionLine(text)); }

void NoteException(std::string_view text) { platform::WriteLine(platform::Stream::Out, ExceptionLine(text)); }

void Progress(std::string_view text) { platform::WriteProgress(Line(text)); }

void ReportRepeatableException(std::string_view message, std::string_view text) {
    platform::WriteRepeatableLine(platform::Stream::Err, ExceptionLine(text), message);
}

RepeatLimitOfFile::RepeatLimitOfFile() : exceptionsAtStart_(std::uncaught_exceptions()) {
    platform::LimitRepeats(kShownRepeats);
}

RepeatLimitOfFile::~RepeatLimitOfFile() {
    const std::vector<platform::UnshownRepeats> unshown = platform::EndRepeatLimit();
    // A fatal error ending the run stays its last line.
    if (std::uncaught_exceptions() > exceptionsAtStart_) return;
    for (const platform::UnshownRepeats& message : unshown) {
        ReportException(std::to_string(message.count) + " more \"" + message.message + " ...\" lines not shown.");
    }
}

}  // namespace console
