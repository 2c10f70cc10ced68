#include "rawfile/native/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rawfile::native {

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        ::close(fd);
        return nullptr;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size == 0) {
        ::close(fd);
        return std::unique_ptr<MappedFile>(new MappedFile(nullptr, 0));
    }
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);  // the mapping keeps the file alive
    if (address == MAP_FAILED) {
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
