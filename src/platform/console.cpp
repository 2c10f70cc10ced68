#include "platform/console.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

thread_local ConsoleCapture* activeCapture = nullptr;

std::FILE* FileOf(Stream stream) { return stream == Stream::Out ? stdout : stderr; }

// The lines of each repeatable message written and counted while a limit is
// in place. Only lines that reach the console count, so lines captured on
// other threads count in the order they are replayed.
class RepeatLimit {
public:
    void Start(int shown) {
        std::lock_guard<std::mutex> lock(mutex_);
        shown_ = shown;
        seen_.clear();
    }

    std::vector<UnshownRepeats> End() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<UnshownRepeats> unshown;
        for (const Seen& seen : seen_) {
            if (seen.lines > shown_) unshown.push_back({seen.message, seen.lines - shown_});
        }
        shown_ = -1;
        seen_.clear();
        return unshown;
    }

    // True when a line of the message is to be written.
    bool Admit(std::string_view message) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (shown_ < 0) return true;
        for (Seen& seen : seen_) {
            if (seen.message == message) return ++seen.lines <= shown_;
        }
        seen_.push_back({std::string(message), 1});
        return shown_ >= 1;
    }

private:
    struct Seen {
        std::string message;
        long long lines = 0;
    };
    std::mutex mutex_;
    int shown_ = -1;          // -1: no limit
    std::vector<Seen> seen_;  // in the order the messages first came
};

RepeatLimit& TheRepeatLimit() {
    static RepeatLimit limit;
    return limit;
}

void Put(Stream stream, std::string_view text) {
    std::FILE* file = FileOf(stream);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

void Write(Stream stream, std::string_view text, char end, std::string_view message = {}) {
    if (activeCapture != nullptr) {
        activeCapture->Add(stream, text, end, message);
        return;
    }
    if (!message.empty() && !TheRepeatLimit().Admit(message)) return;
    std::FILE* file = FileOf(stream);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc(end, file);
    std::fflush(file);
}

}  // namespace

void WriteLine(Stream stream, std::string_view text) { Write(stream, text, '\n'); }

void WriteRepeatableLine(Stream stream, std::string_view text, std::string_view message) {
    Write(stream, text, '\n', message);
}

void LimitRepeats(int shown) { TheRepeatLimit().Start(shown); }

std::vector<UnshownRepeats> EndRepeatLimit() { return TheRepeatLimit().End(); }

void WriteProgress(std::string_view text) { Write(Stream::Out, text, '\r'); }

void ConsoleCapture::Add(Stream stream, std::string_view text, char end, std::string_view message) {
    Piece piece{stream, std::string(text), std::string(message)};
    piece.text += end;
    pieces_.push_back(std::move(piece));
}

void ConsoleCapture::Replay() {
    for (const Piece& piece : pieces_) {
        if (!piece.message.empty() && !TheRepeatLimit().Admit(piece.message)) continue;
        Put(piece.stream, piece.text);
    }
    pieces_.clear();
}

ScopedConsoleCapture::ScopedConsoleCapture(ConsoleCapture& capture) : previous_(activeCapture) {
    activeCapture = &capture;
}

ScopedConsoleCapture::~ScopedConsoleCapture() { activeCapture = previous_; }

}  // namespace platform
