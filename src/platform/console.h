#pragma once

// Console lines. Every line is written whole and the stream flushed at once;
// progress lines end in a carriage return so the next one overwrites them.
// A thread may capture what it writes instead, to have it written later in
// an order of its caller's choosing.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class Stream { Out, Err };

void WriteLine(Stream stream, std::string_view text);
void WriteProgress(std::string_view text);

// A line that may come many times over with other numbers in it: `message`
// names what repeats (the text without its numbers). While repeats are
// limited, only the first lines of each message are written and the others
// counted; otherwise the line is written like any other.
void WriteRepeatableLine(Stream stream, std::string_view text, std::string_view message);

// How many more lines of one message were counted instead of written.
struct UnshownRepeats {
    std::string message;
    long long count = 0;
};

// From now on writes at most `shown` lines of each repeatable message; the
// lines a capture replays count when they are written.
void LimitRepeats(int shown);
// Ends the limit and returns, in the order the messages first came, those
// of which lines were left unwritten.
std::vector<UnshownRepeats> EndRepeatLimit();

// What a thread wrote while its capture was in place, in order.
class ConsoleCapture {
public:
    // Writes everything captured, as it would have been written (repeatable
    // lines counting against the repeat limit now), and forgets it.
    void Replay();
    bool empty() const { return pieces_.empty(); }

    // Used by WriteLine and WriteProgress while the capture is in place.
    void Add(Stream stream, std::string_view text, char end, std::string_view message = {});

private:
    struct Piece {
        Stream stream;
        std::string text;     // with its line feed or carriage return
        std::string message;  // what repeats, for a repeatable line; else empty
    };
    std::vector<Piece> pieces_;
};

// Puts a capture in place for the calling thread while it lives.
class ScopedConsoleCapture {
public:
    explicit ScopedConsoleCapture(ConsoleCapture& capture);
    ~ScopedConsoleCapture();
    ScopedConsoleCapture(const ScopedConsoleCapture&) = delete;
    ScopedConsoleCapture& operator=(const ScopedConsoleCapture&) = delete;

private:
    ConsoleCapture* previous_;
};

}  // namespace platform
