#include "rawfile/native/text_decoding.h"

namespace rawfile::native {

namespace {

void AppendCodePoint(std::string* out, uint32_t code) {
    if (code < 0x80) {
        out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (code >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (code >> 18)));
        out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

uint32_t UnitAt(const uint8_t* bytes, uint64_t index) {
    return static_cast<uint32_t>(bytes[2 * index]) | (static_cast<uint32_t>(bytes[2 * index + 1]) << 8);
}

constexpr uint32_t kReplacement = 0xFFFD;

}  // namespace

std::string Utf16LeToUtf8(const uint8_t* bytes, uint64_t units, bool stopAtNul) {
    std::string out;
    for (uint64_t i = 0; i < units; ++i) {
        const uint32_t unit = UnitAt(bytes, i);
        if (unit == 0 && stopAtNul) {
            break;
        }
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 1 < units) {
                const uint32_t low = UnitAt(bytes, i + 1);
                if (low >= 0xDC00 && low < 0xE000) {
                    AppendCodePoint(&out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
            AppendCodePoint(&out, kReplacement);
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            AppendCodePoint(&out, kReplacement);
        } else {
            AppendCodePoint(&out, unit);
        }
    }
    return out;
}

std::string EightBitToUtf8(const uint8_t* bytes, uint64_t length) {
    std::string out;
    for (uint64_t i = 0; i < length && bytes[i] != 0; ++i) {
        AppendCodePoint(&out, bytes[i]);
    }
    return out;
}

}  // namespace rawfile::native
