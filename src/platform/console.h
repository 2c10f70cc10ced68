#pragma once

// Console lines. Every line is written whole and the stream flushed at once;
// progress lines end in a carriage return so the next one overwrites them.

#include <string_view>

namespace platform {

enum class Stream { Out, Err };

void WriteLine(Stream stream, std::string_view text);
void WriteProgress(std::string_view text);

}  // namespace platform
