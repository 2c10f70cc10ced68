#pragma once

// Little-endian fields read from and written into a RAW file's bytes held
// in a string, for the benchmarks that synthesise RAW files.

#include <cstdint>
#include <cstring>
#include <string>

template <typename T>
T Get(const std::string& bytes, uint64_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

template <typename T>
void Put(std::string* bytes, uint64_t offset, T value) {
    std::memcpy(bytes->data() + offset, &value, sizeof value);
}
