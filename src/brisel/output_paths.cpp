#include "brisel/output_paths.h"

namespace {

constexpr int kRemovedCharacters = 3;

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u; }

// The byte length of `text` without its last `count` code points, or the
// whole length when it holds fewer than `count` of them.
std::string_view::size_type LengthWithoutLastCharacters(std::string_view text, int count) {
    auto end = text.size();
    for (int removed = 0; removed < count; ++removed) {
        if (end == 0) return text.size();
        --end;
        while (end > 0 && IsContinuationByte(text[end])) --end;
    }
    return end;
}

}  // namespace

std::string Ms1PathFor(std::string_view rawPath) {
    std::string path(rawPath.substr(0, LengthWithoutLastCharacters(rawPath, kRemovedCharacters)));
    path += "MS1";
    return path;
}

std::string LogPathFor(std::string_view ms1Path) {
    std::string path(ms1Path);
    path += ".Log";
    return path;
}
