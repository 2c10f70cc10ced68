#include "rawfile/native/byte_reader.h"

#include <cstring>

#include "rawfile/native/text_decoding.h"

namespace rawfile::native {

void ByteReader::Seek(uint64_t offset) {
    if (!ok_ || offset > size_) {
        ok_ = false;
        return;
    }
    position_ = offset;
}

std::string ByteReader::PString() {
    const int32_t units = I32();
    if (units < 0) {
        ok_ = false;
        return {};
    }
    const uint8_t* at = Claim(2 * static_cast<uint64_t>(units));
    if (at == nullptr) {
        return {};
    }
    return Utf16LeToUtf8(at, static_cast<uint64_t>(units), false);
}

void ByteReader::SkipPString() {
    const int32_t units = I32();
    if (units < 0) {
        ok_ = false;
        return;
    }
    Claim(2 * static_cast<uint64_t>(units));
}

std::string ByteReader::FixedWideText(uint64_t bytes) {
    const uint8_t* at = Claim(bytes);
    if (at == nullptr) {
        return {};
    }
    return Utf16LeToUtf8(at, bytes / 2, true);
}

ByteReader ByteReader::Region(uint64_t offset, uint64_t length) const {
    if (!ok_ || offset > size_ || length > size_ - offset) {
        ByteReader failed;
        failed.ok_ = false;
        return failed;
    }
    return ByteReader(data_ + offset, length);
}

ByteReader ByteReader::Take(uint64_t length) {
    const uint64_t start = position_;
    if (Claim(length) == nullptr) {
        ByteReader failed;
        failed.ok_ = false;
        return failed;
    }
    return Region(start, length);
}

}  // namespace rawfile::native
