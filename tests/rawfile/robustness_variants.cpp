#include "robustness_variants.h"

#include <cstdint>

namespace robustness {

namespace {

constexpr uint64_t kFileHeaderSize = 1356;

void FlipAtSpreadPlaces(std::string* bytes, uint64_t from, int places, unsigned char bit) {
    const uint64_t span = bytes->size() - from;
    for (int i = 0; i < places; ++i) {
        const uint64_t at = from + (2 * static_cast<uint64_t>(i) + 1) * span / (2 * static_cast<uint64_t>(places));
        (*bytes)[at] = static_cast<char>((*bytes)[at] ^ bit);
    }
}

}  // namespace

std::vector<DamagedCopy> DamagedCopies(const std::string& name, const std::string& bytes) {
    std::vector<DamagedCopy> copies;
    const uint64_t size = bytes.size();
    for (uint64_t cut : {kFileHeaderSize, size / 3, size - 1}) {
        copies.push_back({name + " cut to " + std::to_string(cut) + " bytes", bytes.substr(0, cut)});
    }
    DamagedCopy spread{name + " with bits flipped across the file", bytes};
    FlipAtSpreadPlaces(&spread.bytes, 0, 12, 0x10);
    copies.push_back(spread);
    DamagedCopy tail{name + " with bits flipped in its last twelfth", bytes};
    FlipAtSpreadPlaces(&tail.bytes, size - size / 12, 12, 0x40);
    copies.push_back(tail);
    DamagedCopy words{name + " with words set to 0xFFFFFFFF in its last fifth", bytes};
    const uint64_t from = size - size / 5;
    for (uint64_t i = 0; i < 4; ++i) {
        words.bytes.replace(from + (2 * i + 1) * (size - from) / 8, 4, "\xFF\xFF\xFF\xFF");
    }
    copies.push_back(words);
    return copies;
}

}  // namespace robustness
