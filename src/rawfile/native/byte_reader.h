#pragma once

// The bottom of the native reader: a cursor over a span of the file's bytes
// in memory that checks every read against the end of the span before
// touching a byte. A read that would pass the end reads nothing, yields
// zero and marks the cursor failed; the mark stays, so a structure reader
// may read all its fields and check `ok()` once at the end.

#include <cstdint>
#include <cstring>
#include <string>

namespace rawfile::native {

class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    // Marks the cursor failed (a structure found a value it cannot accept).
    void Fail() { ok_ = false; }

    uint64_t size() const { return size_; }
    uint64_t position() const { return position_; }
    uint64_t remaining() const { return size_ - position_; }
    const uint8_t* data() const { return data_; }

    // Moves to an absolute offset within the span (the end included).
    void Seek(uint64_t offset);
    void Skip(uint64_t count) { Claim(count); }
    // True when `count` more bytes can be read; does not fail the cursor.
    bool CanRead(uint64_t count) const { return ok_ && count <= remaining(); }

    uint8_t U8() { return Load<uint8_t>(); }
    uint16_t U16() { return Load<uint16_t>(); }
    uint32_t U32() { return Load<uint32_t>(); }
    uint64_t U64() { return Load<uint64_t>(); }
    int32_t I32() { return Load<int32_t>(); }
    float F32() { return Load<float>(); }
    double F64() { return Load<double>(); }

    // A length-prefixed UTF-16LE string (i32 count of code units), as UTF-8.
    std::string PString();
    void SkipPString();
    // A fixed field of `bytes` bytes of UTF-16LE text ending at the first NUL.
    std::string FixedWideText(uint64_t bytes);

    // A new cursor over `length` bytes starting at `offset` of this span;
    // a failed, empty cursor when that region does not lie inside the span.
    ByteReader Region(uint64_t offset, uint64_t length) const;
    // A new cursor over the next `length` bytes, which this cursor steps over.
    ByteReader Take(uint64_t length);

private:
    // The next `count` bytes, stepped over; null (the cursor failed) when they are not there.
    const uint8_t* Claim(uint64_t count) {
        if (!ok_ || count > size_ - position_) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* at = data_ + position_;
        position_ += count;
        return at;
    }

    template <typename T>
    T Load() {
        T value{};
        if (const uint8_t* at = Claim(sizeof(T))) {
            std::memcpy(&value, at, sizeof(T));  // the files are little-endian, like the host
        }
        return value;
    }

    const uint8_t* data_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
    bool ok_ = true;
};

}  // namespace rawfile::native
