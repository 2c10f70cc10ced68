#include "platform/console.h"

#include <cstdio>

namespace platform {

namespace {

thread_local ConsoleCapture* activeCapture = nullptr;

std::FILE* FileOf(Stream stream) { return stream == Stream::Out ? stdout : stderr; }

void Write(Stream stream, std::string_view text, char end) {
    if (activeCapture != nullptr) {
        activeCapture->Add(stream, text, end);
        return;
    }
    std::FILE* file = FileOf(stream);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc(end, file);
    std::fflush(file);
}

}  // namespace

void WriteLine(Stream stream, std::string_view text) { Write(stream, text, '\n'); }

void WriteProgress(std::string_view text) { Write(Stream::Out, text, '\r'); }

void ConsoleCapture::Add(Stream stream, std::string_view text, char end) {
    Piece piece{stream, std::string(text)};
    piece.text += end;
    pieces_.push_back(std::move(piece));
}

void ConsoleCapture::Replay() {
    for (const Piece& piece : pieces_) {
        std::FILE* file = FileOf(piece.stream);
        std::fwrite(piece.text.data(), 1, piece.text.size(), file);
        std::fflush(file);
    }
    pieces_.clear();
}

ScopedConsoleCapture::ScopedConsoleCapture(ConsoleCapture& capture) : previous_(activeCapture) {
    activeCapture = &capture;
}

ScopedConsoleCapture::~ScopedConsoleCapture() { activeCapture = previous_; }

}  // namespace platform
