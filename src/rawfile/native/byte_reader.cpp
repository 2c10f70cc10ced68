#include "rawfile/native/byte_reader.h"

#include <cstring>

#include "rawfile/native/text_decoding.h"

namespace rawfile::native {

const uint8_t* ByteReader::Claim(uint64_t count) {
    if (!ok_ || count > size_ - position_) {
        ok_ = false;
        return nullptr;
    }
    const uint8_t* at = data_ + position_;
    position_ += count;
    return at;
}

void ByteReader::Seek(uint64_t offset) {
    if (!ok_ || offset > size_) {
        ok_ = false;
        return;
    }
    position_ = offset;
}

void ByteReader::Skip(uint64_t count) { Claim(count); }

namespace {

template <typename T>
T LoadLittleEndian(const uint8_t* at) {
    T value{};
    if (at != nullptr) {
        std::memcpy(&value, at, sizeof(T));  // the files are little-endian, like the host
    }
    return value;
}

}  // namespace

uint8_t ByteReader::U8() { return LoadLittleEndian<uint8_t>(Claim(1)); }
uint16_t ByteReader::U16() { return LoadLittleEndian<uint16_t>(Claim(2)); }
uint32_t ByteReader::U32() { return LoadLittleEndian<uint32_t>(Claim(4)); }
uint64_t ByteReader::U64() { return LoadLittleEndian<uint64_t>(Claim(8)); }
int32_t ByteReader::I32() { return LoadLittleEndian<int32_t>(Claim(4)); }
float ByteReader::F32() { return LoadLittleEndian<float>(Claim(4)); }
double ByteReader::F64() { return LoadLittleEndian<double>(Claim(8)); }

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
