#include "platform/console.h"

#include <cstdio>

namespace platform {

namespace {
std::FILE* FileOf(Stream stream) { return stream == Stream::Out ? stdout : stderr; }
}  // namespace

void WriteLine(Stream stream, std::string_view text) {
    std::FILE* file = FileOf(stream);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fputc('\n', file);
    std::fflush(file);
}

void WriteProgress(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\r', stdout);
    std::fflush(stdout);
}

}  // namespace platform
