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

// What a thread wrote while its capture was in place, in order.
class ConsoleCapture {
public:
    // Writes everything captured, as it would have been written, and forgets it.
    void Replay();
    bool empty() const { return pieces_.empty(); }

    // Used by WriteLine and WriteProgress while the capture is in place.
    void Add(Stream stream, std::string_view text, char end);

private:
    struct Piece {
        Stream stream;
        std::string text;  // with its line feed or carriage return
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
