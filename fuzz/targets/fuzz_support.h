#pragma once

// What the fuzz targets share: a rule check that aborts (so libFuzzer keeps
// the input as a crash), the set of known statuses, and a cursor that hands
// out the leading control bytes of an input in a fixed order, so that the
// seed script can lay inputs out the same way.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "rawfile/backend.h"

namespace fuzz {

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "rule broken: %s\n", what);
        std::abort();
    }
}

inline bool IsKnownStatus(rawfile::Status status) { return status >= rawfile::kOk && status <= rawfile::kCannotRead; }

// Reads little-endian values from the front of the input; past its end it
// gives zeros, so every input has a meaning.
class Controls {
public:
    Controls(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t U8() { return Next<uint8_t>(); }
    uint16_t U16() { return Next<uint16_t>(); }
    uint32_t U32() { return Next<uint32_t>(); }
    int32_t I32() { return Next<int32_t>(); }
    uint64_t U64() { return Next<uint64_t>(); }
    double F64() { return Next<double>(); }

    // What is left after the values taken so far.
    const uint8_t* rest() const { return data_ + used_; }
    size_t restSize() const { return size_ - used_; }

private:
    template <typename T>
    T Next() {
        T value{};
        const size_t take = sizeof(T) <= size_ - used_ ? sizeof(T) : size_ - used_;
        if (take > 0) {
            std::memcpy(&value, data_ + used_, take);
        }
        used_ += take;
        return value;
    }

    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// True when both lists hold the same doubles, bit for bit.
inline bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

}  // namespace fuzz
