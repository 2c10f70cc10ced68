#pragma once

// Where the native reader gets a RAW file's bytes from. Every structure is
// read when it is needed, into a buffer the caller keeps and reuses, so the
// reader's memory does not grow with the file, and a file that shrinks or
// becomes unreadable while it is read (a copy still in progress, a network
// share that drops) fails the read that meets it instead of ending the
// process, as a memory map would.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rawfile/native/byte_reader.h"
#include "rawfile/native/read_ahead.h"

namespace rawfile::native {

using ReadBuffer = std::vector<uint8_t>;

class FileBytes {
public:
    virtual ~FileBytes() = default;

    // The file's size when it was opened.
    virtual uint64_t size() const = 0;

    // A cursor over the `length` bytes at `offset` (its positions count
    // from `offset`), read into `buffer` when they are not in memory; a
    // failed, empty cursor when they do not lie in the file or cannot all
    // be read.
    virtual ByteReader Read(uint64_t offset, uint64_t length, ReadBuffer& buffer) const = 0;

    // The bytes from `offset` to the end of the file, but at most `limit`.
    ByteReader ReadUpTo(uint64_t offset, uint64_t limit, ReadBuffer& buffer) const;
};

// Bytes held in memory by someone else (tests, fuzzing): nothing is copied.
class MemoryBytes : public FileBytes {
public:
    MemoryBytes(const uint8_t* data, uint64_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    ByteReader Read(uint64_t offset, uint64_t length, ReadBuffer& buffer) const override;

private:
    const uint8_t* data_;
    uint64_t size_;
};

// A regular file read with pread; small reads through windows read ahead,
// so one instance serves one thread at a time.
class DescriptorBytes : public FileBytes {
public:
    // Opens the regular file at `path`; null with errno telling why.
    static std::unique_ptr<DescriptorBytes> Open(const std::string& path);
    ~DescriptorBytes() override;
    DescriptorBytes(const DescriptorBytes&) = delete;
    DescriptorBytes& operator=(const DescriptorBytes&) = delete;

    uint64_t size() const override { return size_; }
    ByteReader Read(uint64_t offset, uint64_t length, ReadBuffer& buffer) const override;

private:
    DescriptorBytes(int fd, uint64_t size) : fd_(fd), size_(size), readAhead_(fd, size) {}

    int fd_;
    uint64_t size_;
    mutable ReadAhead readAhead_;
};

// Reads a structure of unknown length at `offset`: `parse` is given a
// cursor over a window of the file there and returns true when the
// structure read whole. A window too short for it is doubled, up to the
// end of the file or `largest` bytes, before the structure counts as
// damaged. Returns what the last call of `parse` returned.
template <typename Parse>
bool ReadGrowing(const FileBytes& file, uint64_t offset, uint64_t first, uint64_t largest, ReadBuffer& buffer,
                 Parse parse) {
    for (uint64_t window = first;; window *= 2) {
        const ByteReader in = file.ReadUpTo(offset, window, buffer);
        if (!in.ok()) {
            return false;
        }
        if (parse(in)) {
            return true;
        }
        if (in.size() < window || window >= largest) {
            return false;  // the whole rest of the file, or as much as is sane, was not enough
        }
    }
}

}  // namespace rawfile::native
