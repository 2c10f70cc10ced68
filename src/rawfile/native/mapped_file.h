#pragma once

// A read-only memory map of a whole file. The file is never copied into
// memory: pages are brought in by the system as the reader touches them.

#include <cstdint>
#include <memory>
#include <string>

namespace rawfile::native {

class MappedFile {
public:
    // Maps the file at `path`; null when it cannot be opened or mapped, with
    // errno telling why.
    // An empty file maps to an empty view.
    static std::unique_ptr<MappedFile> Open(const std::string& path);

    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const uint8_t* data() const { return data_; }
    uint64_t size() const { return size_; }

private:
    MappedFile(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}

    const uint8_t* data_;
    uint64_t size_;
};

}  // namespace rawfile::native
