// The fuzz build's stand-in for the memory map of a RAW file: the file is
// read into a heap block of exactly its size. A map rounds the view up to
// whole pages (zero-filled), so a read a few bytes past the end of the file
// would go unnoticed; AddressSanitizer reports any byte read past the end of
// this block. Same interface, same ownership as the real map.

#include "rawfile/native/mapped_file.h"

#include <cerrno>

#include <unistd.h>

#include "rawfile/native/regular_file.h"

namespace rawfile::native {

namespace {

bool ReadWhole(int fd, uint8_t* into, uint64_t size) {
    uint64_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, into + done, size - done, static_cast<off_t>(done));
        if (got <= 0) {
            if (got == 0) {
                errno = EIO;  // the file ended before its size
            }
            return false;
        }
        done += static_cast<uint64_t>(got);
    }
    return true;
}

}  // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, &size);
    if (fd < 0) {
        return nullptr;
    }
    uint8_t* block = size == 0 ? nullptr : new uint8_t[size];
    const bool read = ReadWhole(fd, block, size);
    const int error = errno;
    ::close(fd);
    if (!read) {
        delete[] block;
        errno = error;
        return nullptr;
    }
    return std::unique_ptr<MappedFile>(new MappedFile(block, size));
}

MappedFile::~MappedFile() { delete[] data_; }

}  // namespace rawfile::native
