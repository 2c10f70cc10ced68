#pragma once

// Text as the files store it (UTF-16LE and 8-bit), turned into UTF-8.

#include <cstdint>
#include <string>

namespace rawfile::native {

// `units` UTF-16LE code units at `bytes`. With `stopAtNul` the text ends at
// the first NUL unit. Unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(const uint8_t* bytes, uint64_t units, bool stopAtNul);

// 8-bit text up to the first NUL (or `length` bytes). Bytes above 0x7F are
// taken as Latin-1.
std::string EightBitToUtf8(const uint8_t* bytes, uint64_t length);

}  // namespace rawfile::native
