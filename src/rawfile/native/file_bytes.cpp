#include "rawfile/native/file_bytes.h"

#include <unistd.h>

#include "rawfile/native/regular_file.h"

namespace rawfile::native {

namespace {

bool InFile(uint64_t offset, uint64_t length, uint64_t size) { return offset <= size && length <= size - offset; }

ByteReader FailedReader() {
    ByteReader failed;
    failed.Fail();
    return failed;
}

}  // namespace

ByteReader FileBytes::ReadUpTo(uint64_t offset, uint64_t limit, ReadBuffer& buffer) const {
    if (offset > size()) {
        return FailedReader();
    }
    const uint64_t rest = size() - offset;
    return Read(offset, rest < limit ? rest : limit, buffer);
}

ByteReader MemoryBytes::Read(uint64_t offset, uint64_t length, ReadBuffer& /*buffer*/) const {
    if (!InFile(offset, length, size_)) {
        return FailedReader();
    }
    return ByteReader(data_ == nullptr ? nullptr : data_ + offset, length);
}

std::unique_ptr<DescriptorBytes> DescriptorBytes::Open(const std::string& path) {
    uint64_t size = 0;
    const int fd = OpenRegularFile(path, &size);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<DescriptorBytes>(new DescriptorBytes(fd, size));
}

DescriptorBytes::~DescriptorBytes() { ::close(fd_); }

ByteReader DescriptorBytes::Read(uint64_t offset, uint64_t length, ReadBuffer& buffer) const {
    if (!InFile(offset, length, size_)) {
        return FailedReader();
    }
    if (buffer.size() < length) {
        buffer.resize(length);
    }
    const bool read = length <= ReadAhead::kLargestCachedRead ? readAhead_.Copy(offset, length, buffer.data())
                                                               : ReadFully(fd_, buffer.data(), length, offset);
    if (!read) {
        return FailedReader();
    }
    return ByteReader(buffer.data(), length);
}

}  // namespace rawfile::native
