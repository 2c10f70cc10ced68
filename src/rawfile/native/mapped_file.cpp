#include "rawfile/native/mapped_file.h"

#include <cerrno>

#include <sys/mman.h>
#include <unistd.h>

#include "rawfile/native/regular_file.h"

namespace rawfile::native {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, &size);
    if (fd < 0) {
        return nullptr;
    }
    if (size == 0) {
        ::close(fd);
        return std::unique_ptr<MappedFile>(new MappedFile(nullptr, 0));
    }
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    const int error = errno;
    ::close(fd);  // the mapping keeps the file alive
    if (address == MAP_FAILED) {
        errno = error;
        return nullptr;
    }
    return std::unique_ptr<MappedFile>(new MappedFile(static_cast<const uint8_t*>(address), size));
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        ::munmap(const_cast<uint8_t*>(data_), size_);
    }
}

}  // namespace rawfile::native
